// The image display: shows the last of the pictures it was given, centred.
#include <QPainter>

#include "platform/activex/bitmaps.h"
#include "platform/activex/control_base.h"

namespace activex {
namespace {

class ImageDisplay : public ControlBase<IiImageDisplayX> {
 public:
  ImageDisplay() : ControlBase({{kWidth, "width", Type::Int}, {kHeight, "height", Type::Int}}, false) {}

  HRESULT ClearImages() override {
    const HRESULT hr = Core().Attempt("clear");
    if (FAILED(hr)) return hr;
    m_images.clear();
    Core().Changed(kImagesChanged);
    return S_OK;
  }
  HRESULT AddBitmap(LONG bitmapId) override {
    // Resource ids start at 1; no bitmap can have any other.
    if (bitmapId <= 0) return Core().Refuse("picture", std::to_string(bitmapId), E_INVALIDARG);
    const HRESULT hr = Core().Attempt("picture", std::to_string(bitmapId));
    if (FAILED(hr)) return hr;
    m_images.push_back(bitmapId);
    Core().Changed(kImagesChanged);
    return S_OK;
  }
  HRESULT get_ImageCount(LONG* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(m_images.size());
    return S_OK;
  }
  HRESULT get_ImageBitmapId(LONG index, LONG* bitmapId) override {
    if (!bitmapId) return E_POINTER;
    if (index < 0 || index >= static_cast<LONG>(m_images.size())) return E_INVALIDARG;
    *bitmapId = m_images[static_cast<size_t>(index)];
    return S_OK;
  }

  const std::vector<LONG>& Images() const { return m_images; }

 protected:
  QWidget* MakeWidget(QWidget* parent) override;

 private:
  static constexpr int kImagesChanged = -100;
  std::vector<LONG> m_images;
};

class ImageWidget : public QWidget {
 public:
  ImageWidget(QWidget* parent, ImageDisplay& display) : QWidget(parent), m_display(display) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    if (m_display.Images().empty()) return;
    const QPixmap picture = BitmapPicture(m_display.Images().back());
    QPainter p(this);
    p.drawPixmap((width() - picture.width()) / 2, (height() - picture.height()) / 2, picture);
  }

 private:
  ImageDisplay& m_display;
};

QWidget* ImageDisplay::MakeWidget(QWidget* parent) { return new ImageWidget(parent, *this); }

}  // namespace

HRESULT CreateImageDisplay(REFIID riid, void** ppv) { return plat::CreateComObject<ImageDisplay>(riid, ppv); }

}  // namespace activex

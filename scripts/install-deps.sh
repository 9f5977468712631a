#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build
  qt6-base-dev qt6-translations-l10n libqcustomplot-dev libpugixml-dev
  libgtest-dev libgmock-dev libbenchmark-dev clang
  poppler-utils fonts-dejavu-core fonts-dejavu-extra xvfb xauth locales
)

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# The number helpers are tested under a German locale.
ensure_locale() {
  locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
}

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  ensure_locale
  exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
ensure_locale

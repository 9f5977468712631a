#include "sim/commands.h"

namespace sim {

const std::map<std::uint8_t, CommandHandler>& CommandTable() {
  static const std::map<std::uint8_t, CommandHandler> table = {
      {0, &cmd::ReadUniqueIdentifier},
      {12, &cmd::ReadMessage},
      {13, &cmd::ReadTagDescriptorDate},
      {17, &cmd::WriteMessage},
      {18, &cmd::WriteTagDescriptorDate},
      {200, &cmd::ReadVariables},
      {201, &cmd::WriteVariables},
  };
  return table;
}

}  // namespace sim

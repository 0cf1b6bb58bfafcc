// lorix-tool: the codec and the attachment container on the command line.
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "codec/codec_error.h"
#include "codec/version.h"
#include "tools/command_line.h"
#include "tools/tool_commands.h"

namespace {

void PrintUsage(std::ostream& out) {
  out << "lorix-tool " << lorix::kFileVersion
      << " - LORIX-Sprachkompression und -Anhänge\n\nAufruf: lorix-tool BEFEHL [OPTIONEN] "
         "DATEIEN\n\n";
  for (const auto& command : lorix::tool::Commands()) out << command.help << "\n";
  out << "Ende-Status: 0 Erfolg, 1 Eingabe abgelehnt oder Ein-/Ausgabefehler, 2 falscher Aufruf.\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintUsage(std::cerr);
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(std::cout);
    return 0;
  }
  if (args[0] == "--version") {
    std::cout << "lorix-tool " << lorix::kFileVersion << "\n";
    return 0;
  }
  for (const auto& command : lorix::tool::Commands()) {
    if (args[0] != command.name) continue;
    try {
      return command.run({args.begin() + 1, args.end()}, std::cout, std::cerr);
    } catch (const lorix::tool::UsageError& error) {
      std::cerr << "lorix-tool " << command.name << ": " << error.what() << "\n"
                << "Aufruf: " << command.help;
      return 2;
    } catch (const lorix::CodecError& error) {
      std::cerr << "lorix-tool: " << error.what() << "\n";
      return 1;
    } catch (const std::filesystem::filesystem_error& error) {
      std::cerr << "lorix-tool: " << error.path1().string() << ": " << error.code().message()
                << "\n";
      return 1;
    } catch (const std::bad_alloc&) {
      std::cerr << "lorix-tool: nicht genug Arbeitsspeicher\n";
      return 1;
    }
  }
  std::cerr << "lorix-tool: unbekannter Befehl '" << args[0] << "'\n";
  PrintUsage(std::cerr);
  return 2;
}

#include "app/CommandLine.h"

namespace vorlu {

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args, std::string& error)
{
    CommandLine cl;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::optional<std::string>& into) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "vorlu-optical: option " + a + " needs an argument (see --help)";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == "--data-dir") {
            if (!value(cl.dataDir))
                return std::nullopt;
        } else if (a == "--network") {
            if (!value(cl.networkFile))
                return std::nullopt;
        } else if (a == "--log") {
            if (!value(cl.logFile))
                return std::nullopt;
        } else if (a == "--demo") {
            cl.demo = true;
        } else if (a == "--help" || a == "-h") {
            cl.help = true;
        } else if (a == "--version") {
            cl.version = true;
        } else {
            error = "vorlu-optical: unknown option " + a + " (see --help)";
            return std::nullopt;
        }
    }
    if (cl.demo && cl.networkFile) {
        error = "vorlu-optical: --demo and --network cannot be used together";
        return std::nullopt;
    }
    return cl;
}

std::string usageText()
{
    return "Usage: vorlu-optical [options]\n"
           "Keeps an inventory of the optical drives of a small Windows network and shows their health.\n"
           "\n"
           "Options:\n"
           "  --data-dir DIR   keep lg.ini, vrsopt.ini and the node folders in DIR\n"
           "  --network FILE   answer every network and management call from the simulated network in FILE\n"
           "  --demo           run on the bundled demo network, with a demo folder of its own\n"
           "  --log FILE       write the log (failures and their reasons) to FILE as well as to stderr\n"
           "  --help           show this text and end\n"
           "  --version        show the version and end\n";
}

} // namespace vorlu

#include "app/CommandLine.h"

#include <algorithm>

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
        } else if (a == "--export") {
            if (!value(cl.exportFile))
                return std::nullopt;
        } else if (a == "--scan") {
            if (!value(cl.scanRange))
                return std::nullopt;
        } else if (a == "--names") {
            if (!value(cl.namesFile))
                return std::nullopt;
        } else if (a == "--diagnose-all") {
            cl.diagnoseAll = true;
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
    if (cl.scanRange && (cl.demo || cl.networkFile || cl.diagnoseAll)) {
        error = "vorlu-optical: --scan works on the real network alone, without --demo, --network or --diagnose-all";
        return std::nullopt;
    }
    if (cl.namesFile && !cl.scanRange) {
        error = "vorlu-optical: --names is only for --scan";
        return std::nullopt;
    }
    if (cl.exportFile && !cl.diagnoseAll) {
        error = "vorlu-optical: --export is only for --diagnose-all";
        return std::nullopt;
    }
    return cl;
}

bool asksForCheck(const std::vector<std::string>& args)
{
    return std::find(args.begin(), args.end(), "--diagnose-all") != args.end();
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
           "  --diagnose-all   with no window: diagnose every node of lg.ini (64 at once, or as the\n"
           "                   settings say), print one summary line and one line per amber or red\n"
           "                   drive or node not reached,\n"
           "                   and end with 0 all green, 1 amber, 2 red or a node not reached,\n"
           "                   3 could not run (no node file, bad option)\n"
           "  --export FILE    with --diagnose-all: also write every drive to FILE (.csv, .json, .html, or\n"
           "                   .prom for a node exporter's textfile collector), atomically\n"
           "  --scan RANGE     with no window: find the computers of RANGE (192.168.1.0/24 or\n"
           "                   192.168.1.10-192.168.1.99) that answer on TCP 5985 or 5986, print one\n"
           "                   line a computer and add the new ones to lg.ini\n"
           "  --names FILE     name scanned addresses from FILE (hosts format) before reverse DNS\n"
           "  --help           show this text and end\n"
           "  --version        show the version and end\n"
           "\n"
           "Examples:\n"
           "  cron, every night at 02:00:\n"
           "    0 2 * * * vorlu-optical --diagnose-all --data-dir /srv/optical --export /srv/optical/fleet.html\n"
           "  monitoring-server command definition:\n"
           "    define command {\n"
           "        command_name  check_optical\n"
           "        command_line  /usr/bin/vorlu-optical --diagnose-all --data-dir /srv/optical\n"
           "    }\n";
}

} // namespace vorlu

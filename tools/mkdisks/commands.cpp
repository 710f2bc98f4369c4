#include "commands.h"

#include "core/error.h"
#include "errors.h"
#include "help.h"
#include "subcommands.h"

namespace tidemark::mkdisks {

namespace {

struct Command {
    const char* Name;
    int (*Run)(const Args& args, std::ostream& out, std::ostream& err);
    // A disk set or program that cannot even be read does not check out: for these commands
    // such a failure is a difference (1), elsewhere a refusal (2).
    bool Checks;
};

const Command kCommands[] = {{"build", Build, false}, {"plan", Plan, false},
                             {"list", List, true},    {"verify", Verify, true},
                             {"pack", Pack, false},   {"unpack", Unpack, false}};

bool IsHelp(const std::string& word) { return word == "--help" || word == "-h"; }

// mkdisks, mkdisks --help, mkdisks help [COMMAND], mkdisks --version; -1 for anything else.
int RunAboutItself(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintUsage(err);
        return kExitRefused;
    }
    const std::string& first = args[0];
    if (first == "--version" && args.size() == 1) {
        out << "mkdisks " << MkdisksVersion() << "\n";
        return kExitOk;
    }
    if (IsHelp(first) || first == "help") {
        if (args.size() == 1) {
            PrintUsage(out);
            return kExitOk;
        }
        if (args.size() == 2 && PrintCommandHelp(out, args[1])) return kExitOk;
        err << "mkdisks: no help for \"" << args.back() << "\"; see mkdisks --help\n";
        return kExitRefused;
    }
    return -1;
}

// Runs the command, turning what it throws into a message and an exit code.
int RunCommand(const Command& command, const Args& args, std::ostream& out, std::ostream& err) {
    int failure = command.Checks ? kExitMismatch : kExitRefused;
    try {
        return command.Run(args, out, err);
    } catch (const UsageError& e) {
        err << "mkdisks: " << e.what() << "; see mkdisks " << command.Name << " --help\n";
        return kExitRefused;
    } catch (const Refusal& e) {
        err << "mkdisks: " << e.what() << "\n";
    } catch (const FileFailure& e) {
        err << "mkdisks: " << e.what() << "\n";
    } catch (const Error& e) {
        err << "mkdisks: " << e.ClassName() << ": " << e.Message() << "\n";
    } catch (const std::exception& e) {
        err << "mkdisks: " << e.what() << "\n";
    }
    return failure;
}

}  // namespace

int RunMkdisks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    int about = RunAboutItself(args, out, err);
    if (about >= 0) return about;
    for (const Command& command : kCommands) {
        if (args[0] != command.Name) continue;
        for (size_t i = 1; i < args.size() && args[i] != "--"; ++i)
            if (IsHelp(args[i])) return PrintCommandHelp(out, command.Name), kExitOk;
        return RunCommand(command, args, out, err);
    }
    err << "mkdisks: unknown command " << args[0] << "; see mkdisks --help\n";
    return kExitRefused;
}

}  // namespace tidemark::mkdisks

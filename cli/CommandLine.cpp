// The command line of mgt2orvo: the option table and what is made from it.
#include "CommandLine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "midas2orvo/Version.h"

namespace {

enum class Action { Run, Help, Version, Man, Completion };

// What a value-taking option completes to in the shell.
enum class Completes { Nothing, Choices, Files };

// One option: its long name, short letter (0: none), the name of its value (null: it takes none), the
// values it takes (space-separated) when they are few, one or two lines of help (null: a hidden entry,
// for the build) and what it does, which returns an error text or null.
struct CliOption {
    const char* name;
    char letter;
    const char* valueName;
    Completes completes;
    const char* choices;
    const char* help;
    const char* (*apply)(Options& options, const char* value, Action& action);
};

const char* SetProfile(Options& options, const char* name, Action&)
{
    if (std::strcmp(name, "classic") == 0)
        options.profile = MidasReadingProfile::Classic;
    else if (std::strcmp(name, "current") == 0)
        options.profile = MidasReadingProfile::Current;
    else
        return "--profile takes classic or current";
    return nullptr;
}

template <bool Options::*flag, bool value>
const char* SetFlag(Options& options, const char*, Action&)
{
    options.*flag = value;
    return nullptr;
}

template <Action chosen>
const char* SetAction(Options&, const char*, Action& action)
{
    action = chosen;
    return nullptr;
}

const char* SetSvg(Options& options, const char* path, Action&)
{
    options.svg = path;
    return nullptr;
}

const char* SetEncoding(Options& options, const char* name, Action&)
{
    options.encoding = name;
    return nullptr;
}

const char* SetThreads(Options& options, const char* count, Action&)
{
    char* end = nullptr;
    const long threads = std::strtol(count, &end, 10);
    if (end == count || *end != '\0' || threads < 0 || threads > 64)
        return "--threads takes a number from 0 to 64";
    options.threads = int(threads);
    return nullptr;
}

const char* SetView(Options& options, const char* name, Action&)
{
    return ParseSvgView(name, options.view) ? nullptr : "--view takes iso, xy, xz or yz";
}

constexpr CliOption kOptions[] = {
    {"json", 'j', nullptr, Completes::Nothing, nullptr, "print the whole host model as JSON instead of the summary",
     &SetFlag<&Options::json, true>},
    {"report", 'r', nullptr, Completes::Nothing, nullptr,
     "report what did not reach the host model (a \"report\" object with --json)", &SetFlag<&Options::report, true>},
    {"svg", 'o', "OUT.svg", Completes::Files, nullptr, "draw the translated model into OUT.svg", &SetSvg},
    {"view", 0, "VIEW", Completes::Choices, "iso xy xz yz",
     "the view of the drawing: iso (isometric, the default), xy, xz or yz", &SetView},
    {"profile", 'p', "PROFILE", Completes::Choices, "classic current",
     "classic: the older MIDAS text layout, read exactly (default);\n"
     "current: the layout MIDAS Gen/Civil 8.x and 9.x write", &SetProfile},
    {"encoding", 'e', "NAME", Completes::Nothing, nullptr,
     "code page of the names in FILE (e.g. GBK, CP949, CP1251), shown as UTF-8", &SetEncoding},
    {"threads", 't', "N", Completes::Nothing, nullptr,
     "read large files on N threads (default 0: one per hardware thread; 1: one thread)", &SetThreads},
    {"stats", 0, nullptr, Completes::Nothing, nullptr,
     "print the time of each stage and the peak memory on standard error", &SetFlag<&Options::stats, true>},
    {"help", 'h', nullptr, Completes::Nothing, nullptr, "show this help and exit", &SetAction<Action::Help>},
    {"version", 'V', nullptr, Completes::Nothing, nullptr,
     "show the version of the tool and of the library, and exit", &SetAction<Action::Version>},
    // For the build: the manual page and the bash completion, made from this table.
    {"man", 0, nullptr, Completes::Nothing, nullptr, nullptr, &SetAction<Action::Man>},
    {"bash-completion", 0, nullptr, Completes::Nothing, nullptr, nullptr, &SetAction<Action::Completion>},
};

constexpr const char* kSummary = "Translates the MIDAS text model FILE (- for standard input) into the host model "
                                 "(kN, mm) and\nprints a summary.";
constexpr const char* kValues =
    "A value follows its option as --opt=VALUE, --opt VALUE, -xVALUE or -x VALUE; -- ends the options.";
constexpr std::pair<int, const char*> kExitStatuses[] = {
    {0, "translated"}, {1, "translation refused"}, {2, "usage error or unreadable file"}};

const CliOption* FindOption(std::string_view name, char letter)
{
    for (const CliOption& option : kOptions)
        if (letter ? option.letter == letter : name == option.name)
            return &option;
    return nullptr;
}

// "--svg=OUT.svg" or "--json": the long form as --help and the manual page show it.
std::string LongForm(const CliOption& option)
{
    std::string form = std::string("--") + option.name;
    if (option.valueName)
        form += std::string("=") + option.valueName;
    return form;
}

// Text for man(7): backslashes and hyphens escaped, line breaks turned into spaces.
std::string Roff(std::string_view text)
{
    std::string out;
    for (char c : text)
        out += c == '\\' ? "\\e" : c == '-' ? "\\-" : c == '\n' ? " " : std::string(1, c);
    return out;
}

// Prints what an action asks for; returns the exit status.
int Perform(Action action)
{
    std::string text;
    if (action == Action::Version)  // the tool's own version, and that of the library it loaded
        text = std::string("mgt2orvo ") + MIDAS2ORVO_VERSION_STRING + " (library midas2orvo " +
               MidasLibraryVersion() + ")\n";
    else
        text = action == Action::Help ? UsageText() : action == Action::Man ? ManPage() : BashCompletion();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

// Applies one option. Its value is value, or the next argument when it needs one and value is null.
// Returns an error text, empty when none.
std::string Apply(const CliOption& option, const char* value, int argc, char** argv, int& i, Options& options,
                  Action& action)
{
    if (option.valueName && !value) {
        if (i + 1 >= argc)
            return "option --" + std::string(option.name) + " needs " + option.valueName;
        value = argv[++i];
    }
    const char* problem = option.apply(options, value, action);
    return problem ? problem : "";
}

} // namespace

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "mgt2orvo: %s\nTry 'mgt2orvo --help'.\n", message.c_str());
    return 2;
}

// Options and FILE may come in any order; after "--" every argument is a FILE.
int ParseOptions(int argc, char** argv, Options& options)
{
    Action action = Action::Run;
    bool optionsEnded = false;
    for (int i = 1; i < argc && action == Action::Run; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (options.path)
                return UsageError("more than one FILE given");
            options.path = argv[i];
        } else if (arg[1] == '-') {
            const std::size_t equals = arg.find('=');
            const CliOption* option = FindOption(arg.substr(2, equals - 2), 0);
            if (!option)
                return UsageError("unknown option " + std::string(arg.substr(0, equals)));
            if (equals != arg.npos && !option->valueName)
                return UsageError("option --" + std::string(option->name) + " takes no value");
            const char* value = equals != arg.npos ? argv[i] + equals + 1 : nullptr;
            if (const std::string problem = Apply(*option, value, argc, argv, i, options, action); !problem.empty())
                return UsageError(problem);
        } else {
            // Short options, grouped (-jr); a value may follow its letter at once (-pcurrent).
            for (std::string_view rest = arg.substr(1); !rest.empty() && action == Action::Run;) {
                const CliOption* option = FindOption({}, rest[0]);
                if (!option)
                    return UsageError("unknown option -" + std::string(1, rest[0]));
                rest.remove_prefix(1);
                const char* value = option->valueName && !rest.empty() ? rest.data() : nullptr;
                if (value)
                    rest = {};
                if (const std::string problem = Apply(*option, value, argc, argv, i, options, action);
                    !problem.empty())
                    return UsageError(problem);
            }
        }
    }
    if (action != Action::Run)
        return Perform(action);
    if (!options.path)
        return UsageError("no FILE given");
    return -1;
}

std::string UsageText()
{
    std::string text = std::string("Usage: mgt2orvo [OPTIONS] FILE\n") + kSummary + "\n\n";
    for (const CliOption& option : kOptions) {
        if (!option.help)
            continue;
        std::string line = option.letter ? std::string("  -") + option.letter + ", " : std::string(6, ' ');
        line += LongForm(option);
        line.resize(std::max<std::size_t>(line.size() + 1, 26), ' ');
        for (const char* c = option.help; *c; ++c)
            line += *c == '\n' ? "\n" + std::string(26, ' ') : std::string(1, *c);
        text += line + "\n";
    }
    text += std::string("\n") + kValues + "\nExit status:";
    for (const auto& [status, meaning] : kExitStatuses)
        text.append(" ").append(std::to_string(status)).append(" ").append(meaning).append(status == 2 ? ".\n" : ",");
    return text;
}

std::string ManPage()
{
    std::string page = std::string(".TH MGT2ORVO 1 \"\" \"midas2orvo ") + MIDAS2ORVO_VERSION_STRING +
                       "\" \"User Commands\"\n.SH NAME\nmgt2orvo \\- translate a MIDAS text model (.mgt) into "
                       "the host model and show what arrived\n.SH SYNOPSIS\n.B mgt2orvo\n[\\fIOPTIONS\\fR] "
                       "\\fIFILE\\fR\n.SH DESCRIPTION\n" + Roff(kSummary) + "\n.PP\n" + Roff(kValues) +
                       "\n.PP\nThe JSON format, the report and the reading profiles are described in the README "
                       "of midas2orvo.\n.SH OPTIONS\n";
    for (const CliOption& option : kOptions) {
        if (!option.help)
            continue;
        page += ".TP\n";
        if (option.letter)
            page += std::string("\\fB\\-") + option.letter + "\\fR, ";
        page.append("\\fB\\-\\-").append(Roff(option.name)).append("\\fR");
        if (option.valueName)
            page.append("=\\fI").append(Roff(option.valueName)).append("\\fR");
        page.append("\n").append(Roff(option.help)).append("\n");
    }
    page += ".SH EXIT STATUS\n";
    for (const auto& [status, meaning] : kExitStatuses)
        page.append(".TP\n").append(std::to_string(status)).append("\n").append(Roff(meaning)).append("\n");
    return page;
}

std::string BashCompletion()
{
    std::string words, cases;
    for (const CliOption& option : kOptions) {
        if (!option.help)
            continue;
        words += std::string(words.empty() ? "" : " ") + "--" + option.name;
        if (option.letter)
            words += std::string(" -") + option.letter;
        if (!option.valueName)
            continue;
        cases += std::string("        --") + option.name + (option.letter ? std::string("|-") + option.letter : "");
        if (option.completes == Completes::Choices)
            cases += std::string(") COMPREPLY=($(compgen -W '") + option.choices + "' -- \"$cur\")); return ;;\n";
        else if (option.completes == Completes::Files)
            cases += ") COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n";
        else
            cases += ") COMPREPLY=(); return ;;\n";
    }
    // "--view=x" reaches the function as the words "--view", "=" and "x".
    return "# bash completion for mgt2orvo " MIDAS2ORVO_VERSION_STRING " (made by mgt2orvo --bash-completion)\n"
           "_mgt2orvo()\n{\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    if [[ $cur == = ]]; then cur=\n"
           "    elif [[ $prev == = ]]; then prev=${COMP_WORDS[COMP_CWORD-2]}; fi\n"
           "    case $prev in\n" + cases + "    esac\n"
           "    if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W '" + words + "' -- \"$cur\"))\n"
           "    else COMPREPLY=($(compgen -f -- \"$cur\")); fi\n}\n"
           "complete -o filenames -F _mgt2orvo mgt2orvo\n";
}

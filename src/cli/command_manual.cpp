#include "cli/command_manual.h"

#include <cctype>
#include <set>

#include "cli/batch_commands.h"

namespace tessel {

namespace {

bool isCapital(char c) { return std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)); }
bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// roff's own characters: a backslash prints as \e, a minus sign is \-
// (a plain '-' is a hyphen), and a line must not start with a control
// character.
std::string escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    return out;
}

std::string lineStart(std::string line)
{
    return !line.empty() && (line[0] == '.' || line[0] == '\'') ? "\\&" + line : line;
}

// One form: "--force" and the words of lower case bold, capital words in
// italics, everything else (brackets, bars, extensions) in roman.
std::string formattedForm(std::string_view form, std::set<std::string, std::less<>>& operands)
{
    std::string out;
    std::size_t i = 0;
    bool first = true;
    while (i < form.size()) {
        const char c = form[i];
        std::size_t end = i + 1;
        if (std::isupper(static_cast<unsigned char>(c))) {
            while (end < form.size() && isCapital(form[end])) ++end;
            const std::string word(form.substr(i, end - i));
            operands.insert(word);
            out += "\\fI" + word + "\\fR";
        } else if (first || (c == '-' && i + 1 < form.size() && form[i + 1] == '-')) {
            end = i;
            while (end < form.size() && form[end] != ' ' && form[end] != ']') ++end;
            out += "\\fB" + escaped(form.substr(i, end - i)) + "\\fR";
        } else {
            out += escaped(form.substr(i, 1));
        }
        first = false;
        i = end;
    }
    return out;
}

// The paragraph with the command's operands, as whole words, in italics.
std::string formattedText(std::string_view text, const std::set<std::string, std::less<>>& operands)
{
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        while (end < text.size() && isWordChar(text[end])) ++end;
        if (end == i) {
            out += escaped(text.substr(i, 1));
            ++i;
            continue;
        }
        const std::string_view word = text.substr(i, end - i);
        // "OUT.json" is the operand OUT with an extension; "CRC-32" no operand.
        const bool partOfCompound = end < text.size() && text[end] == '-';
        if (operands.contains(word) && !partOfCompound) out += "\\fI" + std::string(word) + "\\fR";
        else out += escaped(word);
        i = end;
    }
    return out;
}

} // namespace

std::string batchCommandsManual()
{
    std::string roff;
    for (const CommandHelp& help : batchCommandHelp()) {
        std::set<std::string, std::less<>> operands;
        roff += ".TP\n";
        std::string_view forms = help.forms;
        bool firstForm = true;
        while (!forms.empty()) {
            const std::size_t end = std::min(forms.find('\n'), forms.size());
            if (!firstForm) roff += ".PD 0\n.TP\n";
            roff += "\\fBtessel\\fR " + formattedForm(forms.substr(0, end), operands) + "\n";
            forms.remove_prefix(std::min(end + 1, forms.size()));
            firstForm = false;
        }
        if (!firstForm && help.forms.find('\n') != std::string_view::npos) roff += ".PD\n";
        roff += lineStart(formattedText(help.text, operands)) + "\n";
    }
    roff += ".PP\n";
    std::string_view notes = kBatchNotes;
    while (!notes.empty()) {
        const std::size_t end = std::min(notes.find('\n'), notes.size());
        roff += lineStart(escaped(notes.substr(0, end))) + "\n";
        notes.remove_prefix(std::min(end + 1, notes.size()));
    }
    return roff;
}

bool insertCommandsManual(std::string& text)
{
    bool found = false;
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = std::string_view(text).substr(at, end - at);
        if (line == kManualMarker) {
            out += batchCommandsManual();
            found = true;
        } else {
            out.append(line).append("\n");
        }
        at = end + 1;
    }
    text = std::move(out);
    return found;
}

} // namespace tessel

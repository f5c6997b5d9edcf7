#include "inventory/AnswerBounds.h"

namespace vorlu {

namespace {

// True when the text was shortened.
bool shorten(std::string& text)
{
    if (text.size() <= MaxKeptValueBytes)
        return false;
    std::size_t at = MaxKeptValueBytes;
    // Never half a character: back over the continuation bytes of the one cut.
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0u) == 0x80u)
        --at;
    text.resize(at);
    text.shrink_to_fit();
    return true;
}

} // namespace

AnswerCut boundAnswer(std::vector<WmiRow>& rows)
{
    AnswerCut cut;
    cut.rowsAnswered = rows.size();
    if (rows.size() > MaxKeptDrives) {
        rows.resize(MaxKeptDrives);
        rows.shrink_to_fit();
    }
    cut.rowsKept = rows.size();
    for (WmiRow& row : rows) {
        auto& props = row.properties();
        if (props.size() > MaxKeptProperties) {
            cut.propertiesDropped += props.size() - MaxKeptProperties;
            props.resize(MaxKeptProperties);
            props.shrink_to_fit();
        }
        for (auto& [name, value] : props) {
            cut.valuesShortened += shorten(name) ? 1 : 0;
            if (value)
                cut.valuesShortened += shorten(*value) ? 1 : 0;
        }
    }
    return cut;
}

std::string answerCutNote(const AnswerCut& cut)
{
    if (!cut.any())
        return {};
    std::string parts;
    auto add = [&parts](const std::string& part) { parts += (parts.empty() ? "" : ", ") + part; };
    if (cut.rowsKept < cut.rowsAnswered)
        add("the first " + std::to_string(cut.rowsKept) + " of " + std::to_string(cut.rowsAnswered) + " drives kept");
    if (cut.valuesShortened > 0)
        add(std::to_string(cut.valuesShortened) + (cut.valuesShortened == 1 ? " value" : " values") + " shortened to " + std::to_string(MaxKeptValueBytes) + " bytes");
    if (cut.propertiesDropped > 0)
        add(std::to_string(cut.propertiesDropped) + " properties beyond " + std::to_string(MaxKeptProperties) +
            " a drive dropped");
    return " (the node's answer was cut: " + parts + ")";
}

} // namespace vorlu

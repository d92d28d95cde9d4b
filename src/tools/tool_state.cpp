#include "tools/tool_state.h"

#include "model/command_ids.h"
#include "tools/drawing_tools.h"

namespace tessel {

namespace {

struct ToolButton {
    ToolId tool;
    int buttonId;
};

constexpr ToolButton kToolButtons[] = {
    {ToolId::Pencil, ids::PencilButton},   {ToolId::FloodFill, ids::FloodFillButton},
    {ToolId::Line, ids::LineButton},       {ToolId::Rectangle, ids::RectangleButton},
    {ToolId::Ellipse, ids::EllipseButton}, {ToolId::RoundedRectangle, ids::RoundRectButton},
    {ToolId::Select, ids::SelectButton},   {ToolId::ColourPicker, ids::ColourPickerButton},
};

} // namespace

bool isKnownTool(ToolId tool)
{
    const auto v = static_cast<std::int32_t>(tool);
    return v >= 0 && v <= static_cast<std::int32_t>(ToolId::ColourPicker);
}

OptionControls optionControlsFor(ToolId tool)
{
    switch (tool) {
    case ToolId::Line:
        return {.lineSize = true};
    case ToolId::Rectangle:
    case ToolId::Ellipse:
        return {.lineSize = true, .fill = true};
    case ToolId::RoundedRectangle:
        return {.lineSize = true, .fill = true, .curveRadius = true};
    case ToolId::Select:
        return {.transparent = true};
    default:
        return {};
    }
}

int buttonIdOf(ToolId tool)
{
    for (const ToolButton& b : kToolButtons)
        if (b.tool == tool) return b.buttonId;
    return 0;
}

bool toolOfButton(int buttonId, ToolId& tool)
{
    for (const ToolButton& b : kToolButtons)
        if (b.buttonId == buttonId) {
            tool = b.tool;
            return true;
        }
    return false;
}

} // namespace tessel

#include "selection/tool_table.h"

#include <iterator>

#include "model/command_ids.h"
#include "selection/selection.h"
#include "tools/colours.h"

namespace tessel {

namespace {

int buttonIndex(const EditorState& state, MouseButton button)
{
    return button == MouseButton::Left ? state.tools.foregroundIndex : state.tools.backgroundIndex;
}

ColourSlot buttonSlot(MouseButton button)
{
    return button == MouseButton::Left ? ColourSlot::Foreground : ColourSlot::Background;
}

void pencilStroke(EditorState& state, const ToolEntry&, Point client, MouseButton button)
{
    pencil(state, client, buttonIndex(state, button));
}

void pencilMove(EditorState& state, const ToolEntry&, Point client, MouseButton button)
{
    if (state.tools.joinedPencilStrokes) pencilJoined(state, client, buttonIndex(state, button));
    else pencil(state, client, buttonIndex(state, button));
}

void fillPress(EditorState& state, const ToolEntry& self, Point client, MouseButton button)
{
    preparePenAndBrush(state, button, self.brush);
    floodFill(state, client);
}

// The four two-point figures: one press and one drag, the figure function
// the only difference between them.
void figurePress(EditorState& state, const ToolEntry& self, Point client, MouseButton button)
{
    preparePenAndBrush(state, button, self.brush);
    beginShape(state, client);
}

void figureDrag(EditorState& state, const ToolEntry& self, Point client, MouseButton)
{
    dragShape(state, client, self.figure);
}

void pickerStroke(EditorState& state, const ToolEntry&, Point client, MouseButton button)
{
    pickColour(state, client, buttonSlot(button));
}

// The Select tool answers the left button only; a right press still takes
// its snapshot in the mouse handler and does nothing else.
void selectPress(EditorState& state, const ToolEntry&, Point client, MouseButton button)
{
    if (button == MouseButton::Left) selectionPress(state, client);
}

void selectDrag(EditorState& state, const ToolEntry&, Point client, MouseButton held)
{
    if (held == MouseButton::Left) selectionDrag(state, client);
}

void selectRelease(EditorState& state, MouseButton button)
{
    if (button == MouseButton::Left) selectionRelease(state);
}

int selectCursor(const EditorState& state)
{
    return pointerInsideSelection(state) ? ids::MoveCursor : ids::CrossHairCursor;
}

constexpr OptionControls kFigureOptions{.lineSize = true, .fill = true};

constexpr ToolEntry figureTool(ToolId tool, int buttonId, FigureFunction figure,
                               OptionControls options, BrushRule brush)
{
    return {.tool = tool,
            .buttonId = buttonId,
            .cursorId = ids::CrossHairCursor,
            .options = options,
            .figure = figure,
            .brush = brush,
            .press = figurePress,
            .drag = figureDrag};
}

// In ToolId order: the entry of tool t is kTools[t].
constexpr ToolEntry kTools[] = {
    {.tool = ToolId::Pencil,
     .buttonId = ids::PencilButton,
     .cursorId = ids::PencilCursor,
     .press = pencilStroke,
     .drag = pencilMove},
    {.tool = ToolId::FloodFill,
     .buttonId = ids::FloodFillButton,
     .cursorId = ids::FloodFillCursor,
     .brush = BrushRule::SameAsPen,
     .press = fillPress},
    figureTool(ToolId::Line, ids::LineButton, lineFigure, {.lineSize = true}, BrushRule::Hollow),
    figureTool(ToolId::Rectangle, ids::RectangleButton, rectangleFigure, kFigureOptions,
               BrushRule::FromFillMode),
    figureTool(ToolId::Ellipse, ids::EllipseButton, ellipseFigure, kFigureOptions,
               BrushRule::FromFillMode),
    figureTool(ToolId::RoundedRectangle, ids::RoundRectButton, roundRectFigure,
               {.lineSize = true, .fill = true, .curveRadius = true}, BrushRule::FromFillMode),
    {.tool = ToolId::Select,
     .buttonId = ids::SelectButton,
     .cursorId = ids::CrossHairCursor,
     .options = {.transparent = true},
     .snapshotOnLeftPress = false,
     .staysUnderShift = true,
     .press = selectPress,
     .drag = selectDrag,
     .release = selectRelease,
     .doubleClick = selectionDoubleClick,
     .cursorOver = selectCursor},
    {.tool = ToolId::ColourPicker,
     .buttonId = ids::ColourPickerButton,
     .cursorId = ids::ColourPickerCursor,
     .press = pickerStroke,
     .drag = pickerStroke},
};

static_assert(std::size(kTools) == kToolCount, "one entry per tool");

constexpr bool inToolOrder()
{
    for (int t = 0; t < kToolCount; ++t)
        if (kTools[t].tool != static_cast<ToolId>(t)) return false;
    return true;
}
static_assert(inToolOrder(), "the entry of tool t is kTools[t]");

constexpr ToolEntry kNoTool{.tool = static_cast<ToolId>(-1), .cursorId = ids::ArrowCursor};

} // namespace

const ToolEntry& toolEntry(ToolId tool)
{
    const auto t = static_cast<std::int32_t>(tool);
    return t >= 0 && t < kToolCount ? kTools[t] : kNoTool;
}

bool isKnownTool(ToolId tool) { return &toolEntry(tool) != &kNoTool; }

int buttonIdOf(ToolId tool) { return toolEntry(tool).buttonId; }

bool toolOfButton(int buttonId, ToolId& tool)
{
    for (const ToolEntry& entry : kTools)
        if (entry.buttonId == buttonId) {
            tool = entry.tool;
            return true;
        }
    return false;
}

} // namespace tessel

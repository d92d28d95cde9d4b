// The one process-wide editor state, in named parts: the ROM document, the
// tool settings, the gesture in progress, undo, the selection, the
// clipboard and the window's flags. An operation takes the part it works
// on, or the whole state where it ties parts together; the application
// keeps a single instance in static storage and tests make their own.
// Nothing in it allocates while the program runs, apart from the history
// journal, whose states are the sprites' own sizes.
#pragma once

#include <array>
#include <cstdint>

#include "model/command_states.h"
#include "model/editor_view.h"
#include "model/geometry.h"
#include "model/rom_document.h"
#include "model/sprite_journal.h"
#include "model/sprite_store.h"

namespace tessel {

enum class ToolId : std::int32_t {
    Pencil = 0,
    FloodFill = 1,
    Line = 2,
    Rectangle = 3,
    Ellipse = 4,
    RoundedRectangle = 5,
    Select = 6,
    ColourPicker = 7,
};

enum class FillMode : std::int32_t { Opaque = 0, Transparent = 1, Background = 2 };

enum class MouseButton { Left, Right };

// Canvas geometry in client pixels of the main window.
inline constexpr int kZoom = 4;
inline constexpr int kCanvasMargin = 2;

struct UndoStack {
    std::array<PixelBuffer, 3> levels{}; // 0 = most recent
    std::int32_t top = -1;               // highest valid level, -1 = empty
    // What the undos since the last edit replaced, 0 = the last undo's.
    std::array<PixelBuffer, 3> redoLevels{};
    std::int32_t redoTop = -1;
};

// Pen and brush of the current figure, as palette indices. A brush of -1 is
// hollow (draws no interior).
struct PenAndBrush {
    std::int32_t penIndex = 0;
    std::int32_t penWidth = 1;
    std::int32_t brushIndex = -1;
};

// The tool and the colours and options it draws with.
struct ToolSettings {
    ToolId currentTool = ToolId::Pencil;
    // The tool to return to when Shift, which picks colours, is let go.
    ToolId savedTool = ToolId::Pencil;
    FillMode fillMode = FillMode::Opaque;
    bool transparentSelection = false;
    std::int32_t foregroundIndex = 0;
    std::int32_t backgroundIndex = 0;
    PenAndBrush penAndBrush{};
    // Pencil moves draw the line from the stroke's previous position.
    bool joinedPencilStrokes = false;
};

// The mouse drag in progress, and where the mouse last was.
struct Gesture {
    bool leftDragging = false;
    bool rightDragging = false;
    Point shapeStart{};
    Point shapeEnd{};
    PixelBuffer backupPixels{};
    // The sprite a figure drag was begun on, whose pixels at that press
    // backupPixels holds; -1 while no figure drag is going on.
    std::int32_t shapeDragSprite = -1;
    Point lastMousePos{};
    // Where in the floating block the drag that moves it took hold.
    Point dragOffset{};
    // The sprite pixel under the pencil at its last press or move.
    Point pencilPixel{};
};

struct SelectionState {
    Rect selectionRect{};
    bool selectionFloating = false;
    PixelBuffer floatingPixels{};
};

// The program's own clipboard.
struct ClipboardState {
    PixelBuffer clipboardPixels{};
    Rect clipboardRect{};
};

// What the main window and its keyboard hold of the editor.
struct WindowState {
    bool editorReady = false;
    bool spriteEditSync = true;
    CommandStates commands;
    EditorView* view = nullptr; // never null once attached; see viewOf()
    bool shiftHeld = false;
};

struct EditorState;

// Hands the document's announcements on to the editor's view.
class ViewRelay final : public DocumentObserver {
public:
    explicit ViewRelay(EditorState& state) : state_(state) {}
    void editMarksChanged() override;

private:
    EditorState& state_;
};

struct EditorState {
    EditorState() { document.addObserver(&viewRelay); }
    EditorState(const EditorState&) = delete;
    EditorState& operator=(const EditorState&) = delete;

    RomDocument document;
    // The sprite being edited, -1 after Close ROM: no sprite; and its
    // palette as shown.
    std::int32_t currentSprite = 0;
    DisplayPalette currentDisplayPalette{};
    ToolSettings tools;
    Gesture gesture;
    UndoStack undo;
    SpriteJournal journal;
    SelectionState selection;
    ClipboardState clipboard;
    WindowState window;

    bool hasSprite() const { return currentSprite >= 0 && currentSprite < kSpriteCount; }
    SpriteRecord& current() { return document.spriteStore[currentSprite]; }
    const SpriteRecord& current() const { return document.spriteStore[currentSprite]; }
    bool romOpen() const { return document.romOpen(); }

    ViewRelay viewRelay{*this};
};

EditorView& viewOf(EditorState& state);

// Enables or grays a menu command and tells the view when that changed.
void setCommandEnabled(EditorState& state, int commandId, bool enabled);

// The synchronous canvas repaint every edit ends with.
void repaintCanvas(EditorState& state);

} // namespace tessel

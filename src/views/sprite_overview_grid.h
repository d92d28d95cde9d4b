// The Sprite Overview's scrolling grid of thumbnails: the core paints the
// cells in sight (editor/overview_grid.h), this widget adds the numbers
// and names, scrolls, and moves a keyboard cursor through the cells.
//
// Keys: the arrows move the cursor by a cell or a row, PageUp/PageDown by
// the rows in sight, Home/End to the first and last; the cursor's cell is
// scrolled into view. Enter or a double click emits chosen(sprite); a
// right click emits menuRequested(sprite, where) over a cell.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <vector>

#include "editor/overview_grid.h"
#include "model/editor_state.h"

namespace tessel {

class SpriteOverviewGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    SpriteOverviewGrid(const EditorState& state, QWidget* parent);

    // The sprites shown, in order. The cursor stays on its sprite when that
    // is still shown and goes to the first cell otherwise.
    void setSprites(std::vector<int> sprites);
    const std::vector<int>& sprites() const { return sprites_; }
    void setTagsSource(const SpriteTagsSource* tags) { tags_ = tags; }
    void setScale(int scale);
    int scale() const { return scale_; }
    void setLabelLines(int lines);

    // An index into sprites(), -1 when nothing is shown.
    int cursor() const { return cursor_; }
    int cursorSprite() const { return cursor_ < 0 ? -1 : sprites_[cursor_]; }
    void setCursor(int index);
    // Puts the cursor on that sprite when it is shown.
    void setCursorToSprite(int sprite);

    OverviewLayout layout() const;
    // The view as last painted.
    const QImage& image() const { return image_; }
    // Repaints every cell, or one sprite's cell.
    void refreshAll();
    void refreshSprite(int sprite);

signals:
    void chosen(int sprite);
    void menuRequested(int sprite, QPoint globalPos);
    void cursorMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollRange();
    void scrollToCursor();
    int indexAt(QPoint viewPoint) const;
    void drawLabels(QPainter& painter, const OverviewLayout& l, const QRect& exposed);

    const EditorState& state_;
    const SpriteTagsSource* tags_ = nullptr;
    std::vector<int> sprites_;
    int scale_ = 1;
    int labelLines_ = 1;
    int cursor_ = -1;
    QImage image_;
};

} // namespace tessel

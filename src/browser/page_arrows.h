// The browser's page arrows: a horizontal pair of arrow buttons along the
// browser's bottom edge with the page number between them ("Page 3 of
// 143"). The left arrow steps one page down, the right arrow one page up;
// holding an arrow repeats at a steady rate, never faster.
#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace tessel {

class PageArrows : public QWidget {
    Q_OBJECT
public:
    explicit PageArrows(QWidget* parent);

    QToolButton* leftArrow() const { return left_; }
    QToolButton* rightArrow() const { return right_; }
    // Shows page `page` (counted from 0) of `pages`.
    void showPage(int page, int pages);
    QString pageText() const;

signals:
    void stepped(int delta); // -1 or +1

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* left_;
    QToolButton* right_;
    QLabel* page_;
};

} // namespace tessel

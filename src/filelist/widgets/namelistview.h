#pragma once
// The two name lists. Besides the plain list it tells apart what the user does (mouse,
// keyboard, scroll bar, wheel) from what the program does, because only the user's own
// scrolling and selecting carry the other list along.
#include "filelist/widgets/namelistmodel.h"

#include <QListView>
#include <vector>

class NameListView : public QListView {
    Q_OBJECT
public:
    explicit NameListView(QWidget* parent = nullptr);

    NameListModel* names() const { return model_; }
    int rowCount() const { return model_->rowCount(); }

    int topRow() const;
    void setTopRow(int row);

    // One flag per row; reads the selection ranges, never row by row.
    std::vector<bool> selectedFlags() const;
    void setSelectedFlags(const std::vector<bool>& flags);
    void selectAllRows();
    void clearSelectedRows();

signals:
    // The user changed the selection with the mouse or the keyboard.
    void userSelectionChanged();
    // The user scrolled (scroll bar, wheel, keyboard) without changing the selection.
    void userScrolled(int topRow);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    template <typename F>
    void UserInput(F&& f);

    NameListModel* model_;
    int userDepth_ = 0;
    bool userSelectionTouched_ = false;
};

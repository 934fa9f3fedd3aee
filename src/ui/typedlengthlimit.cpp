#include "ui/typedlengthlimit.h"

#include <QLineEdit>

#include <algorithm>

TypedLengthLimit::TypedLengthLimit(int length, QLineEdit* edit)
    : QObject(edit), length_(length), edit_(edit), before_(edit->text())
{
    // textEdited comes ahead of textChanged, so before_ still holds the text ahead of an edit.
    // It is read from the box, not the signal: after a refused edit the signal still carries
    // the refused text.
    connect(edit, &QLineEdit::textChanged, this, [this] { before_ = edit_->text(); });
    connect(edit, &QLineEdit::textEdited, this, &TypedLengthLimit::Edited);
}

void TypedLengthLimit::Edited(const QString& text)
{
    if (text.size() <= length_ || text.size() < before_.size())
        return;
    // The text behind the cursor is what the edit left alone; the cursor goes back before it.
    const qsizetype behind = text.size() - edit_->cursorPosition();
    const QString keep = before_;
    edit_->setText(keep);
    edit_->setCursorPosition(static_cast<int>(std::max<qsizetype>(0, keep.size() - behind)));
}

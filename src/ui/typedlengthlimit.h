#pragma once
// A line edit's limit on typed characters that leaves a longer text set by the program whole:
// a stored base number is neither cut nor stuck, since the user can still shorten it.
// (QLineEdit::setMaxLength would cut the stored text, and a validator stops refusing once the
// box holds a text it calls invalid.)
#include <QObject>
#include <QString>

class QLineEdit;

class TypedLengthLimit : public QObject {
public:
    TypedLengthLimit(int length, QLineEdit* edit);

private:
    void Edited(const QString& text);

    int length_;
    QLineEdit* edit_;
    QString before_;
};

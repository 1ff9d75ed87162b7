#pragma once
#include <QString>
#include <QVariantList>

// A condition of a table class with its values bound: the text (without "WHERE") holds one
// "?" per value, so a value from the client, a file or the user never becomes SQL text.
class CondicionSQL {
public:
    QString Texto;
    QVariantList Valores;
};

#pragma once
#include <QString>
#include <QStringList>

// The localities a prescription can be delivered to, each shown as its name and its postal code
// in parentheses; the delivery carries the postal code alone.
namespace Localidades {

// The visible texts, in the order the list offers them.
const QStringList& Nombres();
// The list entry of one locality: its visible text, 100 blanks and the four-digit code, so the
// code can be read back from the end of the entry whatever the name.
QString Item(const QString& nombre);
// The postal code of a list entry (its last six characters without blanks); "" for no entry.
QString CodigoPostal(const QString& item);

}

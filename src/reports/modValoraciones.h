#pragma once
#include <QDate>
#include <QString>

// The rules of the valuation window, kept apart from its widgets.
namespace modValoraciones {
// The first item of the insurer list: every insurer.
QString ItemTodas();
// An insurer's item: its name, 100 blanks and its company code.
QString ItemObraSocial(const QString& nombre, qint32 empresa);
// Whether the insurer is offered: every one but the one named exactly "JWK" (in any case).
bool Ofrecida(const QString& nombre);
// The company code the list's text asks for; "" (every insurer) for "TODAS" and for no choice.
QString CodigoElegido(const QString& textoCombo);
// The day's report below the data folder; one name a day, whatever the insurer.
QString ArchivoReporte(const QDate& hoy);
// Writes the report (its final line end kept once) in Windows-1252, whole or not at all;
// raises with the reason when the folder or the file cannot be written.
void EscribirReporte(const QString& ruta, QString texto);
}

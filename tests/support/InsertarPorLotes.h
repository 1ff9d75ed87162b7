#pragma once
#include <QString>
#include <QVariantList>
#include <functional>

class Database;

// Fills a table quickly for a benchmark: `filas` rows of `columnas` values each, given by
// `fila(i)`, in multi-row inserts of up to 900 bound values. `cabecera` is the statement up
// to "VALUES ".
void InsertarPorLotes(Database& db, const QString& cabecera, int columnas, int filas,
                      const std::function<QVariantList(int)>& fila);

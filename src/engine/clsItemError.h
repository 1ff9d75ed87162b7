#pragma once
#include <QList>
#include <QString>
#include <memory>

// One item of an answer: an error code with its comment, labelled with where it came from.
class clsItemError {
public:
    qint32 Tipo = 1;
    QString Clave;
    QString Error;
    QString Comentario;
};

using ListaErrores = QList<clsItemError>;

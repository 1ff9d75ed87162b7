#include "entry/ComboBloqueable.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

void ComboBloqueable::showPopup()
{
    if (!m_bloqueado) QComboBox::showPopup();
}

void ComboBloqueable::mousePressEvent(QMouseEvent* e)
{
    if (m_bloqueado) e->ignore();
    else QComboBox::mousePressEvent(e);
}

void ComboBloqueable::keyPressEvent(QKeyEvent* e)
{
    if (m_bloqueado) e->ignore();
    else QComboBox::keyPressEvent(e);
}

void ComboBloqueable::wheelEvent(QWheelEvent* e)
{
    if (m_bloqueado) e->ignore();
    else QComboBox::wheelEvent(e);
}

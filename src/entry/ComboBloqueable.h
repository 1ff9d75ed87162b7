#pragma once
#include <QComboBox>

// A drop-down list that can be locked: it stays enabled and readable but refuses the user's
// changes (mouse, keys, wheel, popup). The program may still set its choice.
class ComboBloqueable : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    bool bloqueado() const { return m_bloqueado; }
    void setBloqueado(bool bloqueado) { m_bloqueado = bloqueado; }

    void showPopup() override;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    bool m_bloqueado = false;
};

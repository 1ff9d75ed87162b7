#pragma once
#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class VentanaPrincipalObraSocial;

// The insurer list at the right edge of the main window: the selected line decides which
// insurer every following operation is addressed to. The main window docks it, sets
// Principal and calls RefrescarLista at start-up and after the configuration is stored; its
// HabilitarMenuPrincipal calls HabilitarSeleccion, so no insurer is chosen during a send.
class frmObraSocial : public QWidget {
    Q_OBJECT
public:
    explicit frmObraSocial(QWidget* parent = nullptr);

    QListWidget* lstObraSocial; // "(activity) name"
    QLabel* lblObraSocial;
    QLineEdit* txtObraSocialSeleccionada;
    QLabel* lblEmpresa; // company code of the selected insurer

    VentanaPrincipalObraSocial* Principal = nullptr;

    // Width at load, in twips; the main window's layout sets the position and height.
    static constexpr int kAncho = 3000;
    // The line of an insurer: "(", the activity code in decimal, ") ", the name.
    static QString Linea(qint16 actividad, const QString& nombre);
    // Names that are never listed, whatever their case.
    static bool Omitida(const QString& nombre);
    // The working windows addressed to the insurer, closed when another one is chosen.
    static QStringList FormulariosDeObraSocial();

    // The selected line; empty when none is selected.
    QString LineaSeleccionada() const;
    // Locks the list while a transaction waits (false) and frees it afterwards (true).
    void HabilitarSeleccion(bool habilitar);

    void RefrescarLista();
    void lstObraSocial_Click();
};

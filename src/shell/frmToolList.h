#pragma once
#include "shell/BarraOperaciones.h"

#include <QList>
#include <QWidget>

class ManejadorOperaciones;
class QGroupBox;
class QPushButton;

// The side bar of operations: one button per operation the terminal uses, in six frames,
// stacked to fit. Each button calls the main window's handler of the same operation. The main
// window docks it at the top left, sets Principal, calls Habilitar_Operaciones from its layout
// (and after the configuration window closes), and enables the buttons itself
// (HabilitarMenuPrincipal, HabilitarSoloEnLinea).
class frmToolList : public QWidget {
    Q_OBJECT
public:
    explicit frmToolList(QWidget* parent = nullptr);

    QGroupBox* fraVerificar;
    QGroupBox* fraInformar;
    QGroupBox* fraInternacion;
    QGroupBox* fraOdontologia;
    QGroupBox* fraCierre;
    QGroupBox* fraMedicamento;
    QList<QPushButton*> cmdVerificar;
    QList<QPushButton*> cmdInformar;
    QList<QPushButton*> cmdInternacion;
    QList<QPushButton*> cmdOdontologia;
    QList<QPushButton*> cmdCierre;
    QPushButton* cmdMedicamento;

    ManejadorOperaciones* Principal = nullptr;

    // Width of the side bar, in twips.
    static constexpr int kAncho = 1335;

    // The button of a table entry.
    QPushButton* BotonDe(BarraOperaciones::Grupo grupo, int indice) const;
    // Enables or disables the buttons that serve only on-line insurers.
    void HabilitarSoloEnLinea(bool habilitar);

    // Shows the buttons of the operations the configuration marks as used, then lays them out.
    void Habilitar_Operaciones();
    void Reordenar();

    void cmdVerificar_Click(int Index);
    void cmdInformar_Click(int Index);
    void cmdInternacion_Click(int Index);
    void cmdOdontologia_Click(int Index);
    void cmdCierre_Click(int Index);
    void cmdMedicamento_Click();

private:
    QList<QPushButton*>& Arreglo(BarraOperaciones::Grupo grupo);
    QList<QGroupBox*> Marcos() const;
    void Llamar(BarraOperaciones::Grupo grupo, int indice);
    QWidget* marco();
};

#pragma once

// A NUL pasted into a text box becomes a blank at once, before a window shows it, stores it
// or logs it (the embedded database would keep the text only up to it, PostgreSQL refuses
// it). One filter on the application watches every line and text box as it is first
// polished, so no window has to remember it.
namespace EntradaSinNulos {
// Installs the filter once; later calls do nothing. Needs a QApplication.
void Instalar();
}

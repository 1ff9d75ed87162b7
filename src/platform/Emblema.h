#pragma once
#include <QPixmap>

// The program's emblem, a "Q" on a rounded square: the window icon of Quorvan and of its update
// wizard, and the about box's picture, while they ship without an icon file.
QPixmap EmblemaPrograma();

#pragma once
// The program's icon, drawn in code: a silver snake coiled around a pachinko
// ball on a deep blue tile.

#include <QIcon>
#include <QImage>

QImage ProgramIconImage(int size);
QIcon ProgramIcon();

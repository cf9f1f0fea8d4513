#pragma once

#include <QString>

namespace Global {
// The installation folder with pics/, pics144/, lib/:
// $QUAVRIX_QPEDIR if set, else <folder of the executable>/../share/quavrix.
QString qpeDir();
}

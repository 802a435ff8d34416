// The resource library's own object: registers the compiled pictures on first use, for programs
// in which the linker would otherwise drop the resource object.
#include <QtCore/qglobal.h>

void VelmoraInitBitmapResources() {
    Q_INIT_RESOURCE(velmora_bitmaps);
}

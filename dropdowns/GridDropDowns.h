// The grid's nine drop-down editors (GridDropDownEditors.h), for the grid's units that hold them.
#pragma once

#include "GridDropDownEditors.h"

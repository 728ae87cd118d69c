// Foundation's geometry constants.

#include <Foundation/NSGeometry.h>

const NSPoint NSZeroPoint = {0, 0};
const NSSize NSZeroSize = {0, 0};
const NSRect NSZeroRect = {{0, 0}, {0, 0}};

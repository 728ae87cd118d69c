#pragma once
// The bundle photographs.

#include "studio.h"

namespace artwork {

// The anodised rack plate every faceplate starts from (brushed metal, rack ears with their
// screws, edge bevels and the studio light), with the top row's photographed buttons whose
// titles the editor does not draw (INIT, BYPASS, DETAIL, GUIDE) and the cut line under them.
// Every photograph shows the same plate, grain for grain, so that where the Corvel faceplate
// lays one over another the metal runs on without a seam.
void plateWithTopRow(Canvas& canvas);

// The engraved field below the top row that holds a faceplate's controls and meter: a shallow
// milled recess framed by a cut line. The blank panel and the FET photograph carry the same
// field, so that the Corvel faceplate, which lays the one's (77, 146, 1825, 568) over the
// other, shows one field framed all round. It leaves room for the widest scale the editors
// print, the Corvel Input Gain's, left of its knob.
void controlField(cairo_t* cr);

// The maker's line engraved small at the lower left, and the two lower plate screws.
void makersLine(cairo_t* cr);

// "Iron-Blank-Panel": the plate under the framework editor's controls and texts.
void blankPanel(Canvas& canvas);

// "IronFennic-Approved" (approved = true: printed values, pointers, lit lamps and the
// needle) and "IronFennic-Clean" (the same photograph without them), in register.
void fennicPhotograph(Canvas& canvas, bool approved);

// "IronCorvel-Blank": the Corvel preamp's plate without controls, its blank engraved name
// plate at (1277, 174, 345, 60), which the Corvel editor lays under its printed title.
void corvelPhotograph(Canvas& canvas);

// "Iron-Model-Badges-v2": six name badges of 674 by 153 points on a 1538 by 1000 atlas.
inline constexpr double atlasWidth = 1538;
inline constexpr double atlasHeight = 1000;
void badgeAtlas(Canvas& canvas);

} // namespace artwork

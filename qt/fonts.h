#pragma once

namespace resipa {

/// Makes the faces the layout names (Tahoma, Arial, and the window's default face MS Sans Serif)
/// fall back to the installed faces closest to them in width, and makes the default face the
/// application's font. The first call does it; later calls change nothing.
void useStandInFonts();

} // namespace resipa

#include "shaping/ToPua.h"

// Until this family's contextual rules are in, its letters pass through unchanged.
void CToPua::shapeDentalGlide(WordWalk& walk) {
    walk.append(walk.current);
}

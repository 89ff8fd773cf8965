#include "platform/surfaces.h"

#include "platform/screen_size.h"
namespace vorn {

void createSurfaces(Surfaces& s)
{
    createPicture(s.workSurface, 1280, 1024);
    createPicture(s.fieldSurface, 1280, 1024);
    createPicture(s.tileSheet, 512, 512);
    createPicture(s.charSheet, 512, 512);
    createPicture(s.spriteScratch, 32, 32);
    createPicture(s.smallScratch, 10, 10);
    createPicture(s.screenCopy, screenWidth, screenHeight);
    createPicture(s.wholeMap, 10 * 32, 10 * 32);
}

} // namespace vorn

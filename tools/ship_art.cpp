// ship_art: assembles the ships sheet from its three families.
#include "tools/ship_art.h"

Pixmap ShipArt_DrawSheet(void)
{
    Pixmap sheet = Pixmap_Make(80, 80);
    ShipArt_DrawPlayerShips(sheet);
    ShipArt_DrawEnemyShips(sheet);
    ShipArt_DrawBossShips(sheet);
    Pixmap_ClearTransparent(sheet);
    return sheet;
}

#pragma once

// The result list's single tab stop, in dialog units (quarters of the average character width),
// for the horizontal dialog base unit: half the base unit, rounded to the nearest whole number
// with halves to the even neighbour, times 14. Base unit 8 gives 56, 14 characters.
int TabStopForBaseUnit(int baseUnit);

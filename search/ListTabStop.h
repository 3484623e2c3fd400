#pragma once

// The result list's single tab stop, in dialog units (quarters of the average character width),
// for the horizontal dialog base unit: half the base unit, rounded to the nearest whole number
// with halves to the even neighbour, times 14. Base unit 8 gives 56, 14 characters.
int TabStopForBaseUnit(int baseUnit);

// Where the spelled-out forms start in the result list, and how wide an abbreviation may be
// drawn before them, in pixels.
struct ResultColumns {
    int secondColumnX = 0;
    int firstColumnLimit = 0; // wider abbreviations are elided to this width
};

// The tab stop holds while every abbreviation shown fits before it with `gap` (one average
// character) to spare. Otherwise the column moves right just far enough for the widest one, but
// never past half the list's width; abbreviations wider than that are elided.
ResultColumns ResultColumnsFor(int tabStop, int widestAbbreviation, int gap, int listWidth);

// Makes the grid classes known to the stored form definitions: TColumn, TColumnTitle,
// TCustomDBGrid, TDBGrid and Tzebdbgrid with their published properties. Call before
// reading a definition that holds a grid; repeated calls do nothing.
#pragma once

void RegisterGridClasses();

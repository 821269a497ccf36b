#pragma once
// Hands the program's string table, dialog templates, icons, menus, accelerator tables and
// toolbars to the platform. The program, its tests and its benchmarks call it once at start-up,
// before they make any window or application object.
void RegisterResources();

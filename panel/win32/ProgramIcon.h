#ifndef RAVOLIN_PANEL_WIN32_PROGRAM_ICON_H
#define RAVOLIN_PANEL_WIN32_PROGRAM_ICON_H
/* The resource number of the program's icon: the exe's resource script and
   the window class both use it. Plain C preprocessor, for the resource
   compiler. Explorer shows the icon of the lowest number. */
#define RAVOLIN_PROGRAM_ICON 1
#endif

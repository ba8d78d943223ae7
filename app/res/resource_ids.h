// Identifiers of the resources compiled into trellane.exe, shared by the resource script and the
// code that loads them.
#pragma once

// The executable's icon. Explorer shows the icon group with the lowest identifier, so this one
// must stay first.
#define IDI_TRELLANE 1
// The notification-area icon: 16x16 in 16 colours, and 20, 24 and 32 pixels for scaled screens.
#define IDI_TRAY 2
// The panel's logo, 253x108, 8-bit.
#define IDB_LOGO 101

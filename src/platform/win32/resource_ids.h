/* Resource ids shared by resources/veltrane.rc and the runtime; plain
   defines because the resource compiler reads this file too. */
#pragma once

#define IDI_VELTRANE 1
#define IDR_HAND_CURSOR 2

#define IDB_BACKGROUND 101
#define IDB_SCAN_PICTURE 102
#define IDB_SCAN_BUTTON 103
#define IDB_REMOVE_PICTURE 104
#define IDB_REMOVE_BUTTON 105
#define IDB_LOGO 106
#define IDB_PRODUCT_NAME 107
#define IDB_BROWSER_BANNER 108

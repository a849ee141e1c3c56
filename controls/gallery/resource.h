// Resource ids of controls_gallery.exe, shared by Gallery.rc, the gallery's
// code and the tests that drive it.
#ifndef VELKOR_GALLERY_RESOURCE_H
#define VELKOR_GALLERY_RESOURCE_H

#define IDD_GALLERY 100
#define IDR_GALLERY_MENU 101   // the drop-down menu's template

// Buttons, one per option on show.
#define IDC_BTN_FLAT 1000
#define IDC_BTN_3D 1001
#define IDC_BTN_DEFAULT 1002
#define IDC_BTN_CHECK 1003
#define IDC_BTN_CHECKED 1004
#define IDC_BTN_GREY 1005
#define IDC_BTN_DISABLED_ICON 1006
#define IDC_BTN_BITMAPS 1007
#define IDC_BTN_DISABLED_TEXT 1008
#define IDC_BTN_BEFORE 1009
#define IDC_BTN_ABOVE 1010
#define IDC_BTN_AFTER 1011
#define IDC_BTN_CURSOR 1012
#define IDC_BTN_TOOLTIP 1013
#define IDC_BTN_LINK 1014
#define IDC_BTN_SEE_THROUGH 1015
#define IDC_BTN_MENU 1016
#define IDC_BACKDROP 1017   // where the see-through button's picture goes
#define IDC_STYLE_CLASSIC 1020
#define IDC_STYLE_FLAT 1021
#define IDC_STATUS 1022   // "Last command: ..."

// Commands of the drop-down menu.
#define ID_GALLERY_NEW 40001
#define ID_GALLERY_OPEN 40002
#define ID_GALLERY_SAVE 40003
#define ID_GALLERY_SAVE_AS 40004
#define ID_GALLERY_REFRESH 40005
#define ID_GALLERY_SYNC 40006
#define ID_GALLERY_TOOLBAR 40007
#define ID_GALLERY_STATUS_BAR 40008
#define ID_GALLERY_PREVIEW 40009
#define ID_GALLERY_WRAP 40010
#define ID_GALLERY_LARGE 40011
#define ID_GALLERY_SMALL 40012
#define ID_GALLERY_DETAILS 40013
#define ID_GALLERY_DRAG_DROP 40014
#define ID_GALLERY_DELETE 40015
#define ID_GALLERY_LONG 40016

// Commands of the popup menu.
#define ID_GALLERY_CUT 40101
#define ID_GALLERY_COPY 40102
#define ID_GALLERY_PASTE 40103
#define ID_GALLERY_SELECT_ALL 40104
#define ID_GALLERY_GRID 40105
#define ID_GALLERY_ZOOM_50 40106
#define ID_GALLERY_ZOOM_100 40107
#define ID_GALLERY_ZOOM_200 40108
#define ID_GALLERY_PROPERTIES 40109

#endif

// Resource identifiers of the desktop program.
#pragma once

#define IDI_QUILLBOX 100
#define IDI_NEWFILE 101
#define IDI_NEWFOLDER 102
#define IDI_DELETE 103
#define IDI_HELP 104
#define IDI_START 105
#define IDI_SOURCE 106
#define IDI_DESTINATION 107
#define IDI_OPTIONS 108
#define IDI_LISTFILE 109
#define IDI_LISTFOLDER 110

// The maker's web addresses, shared by the string table and the program.
#pragma once

#define MVQ_HOME_PAGE "https://www.example.com/tessaline/"
#define MVQ_FORUM_PAGE "https://forum.example.com/root/forum.htm"
#define MVQ_CONTROL_MAKER_SITE "https://www.example.com/flashplayer/"

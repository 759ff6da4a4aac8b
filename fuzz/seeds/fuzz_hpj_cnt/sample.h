/* context numbers */
#define IDH_WELCOME 10
#define IDH_INSTALL 0x14  // install
#define IDH_GLOSSARY_TERM 40

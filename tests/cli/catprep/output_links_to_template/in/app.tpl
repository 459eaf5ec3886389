#define APP Quill
en: About APP

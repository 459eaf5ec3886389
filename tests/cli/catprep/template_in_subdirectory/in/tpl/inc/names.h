#define NAME world

// The default grid image generator is built only in the native tree; its
// source is compiled into this runner so the tests use the same pictures.
#include "tools/grid_images.cpp"

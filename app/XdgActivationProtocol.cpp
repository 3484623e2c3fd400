// The tables of the xdg-activation protocol, written in C by wayland-scanner. They are read here
// after the header's extern "C" declarations, so that as C++ they keep the linkage the client
// code expects.
#include "xdg-activation-v1-client.h"

#include "xdg-activation-v1-protocol.c"

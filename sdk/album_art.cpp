#include "album_art.h"

exception_album_art_not_found::exception_album_art_not_found() : exception_io("No album art found") {}
exception_album_art_not_found::~exception_album_art_not_found() = default;

#include "exceptions.h"

exception_io::~exception_io() = default;

exception_aborted::exception_aborted() : std::runtime_error("Aborted") {}
exception_aborted::~exception_aborted() = default;

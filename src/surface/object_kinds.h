#pragma once
// Every kind registers itself from its own folder; objects/object_kinds.cpp
// lists the folders.
#include "objects/class_registry.h"

#pragma once
// Reads a stored window description into a component (a form) and the components it lists.
#include <string>

#include "framework/classes.h"
#include "framework/core/description.h"
#include "framework/winapi.h"

// The description stored in the program's resource named after CLASSNAME (upper case).
void ReadComponentResource(TComponent* root, const std::string& className);
// Creates ROOT's components from DESCRIPTION, in stored order: each component's plain properties
// in stored order, then its events; references to other components once the whole window is
// read; then Loaded on every component read, the root first. Throws EReadError on a mismatch.
void ReadComponent(TComponent* root, const ObjectDescription& description);

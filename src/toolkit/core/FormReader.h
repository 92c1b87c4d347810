// Reads a form description into a root component: creates the nested components by
// registered class name (owned by the root, placed in their enclosing component), sets
// properties by name in written order, binds events to the root's published methods, fills
// the root's published fields, streams binary properties through the component's own
// reader, resolves references to components, and finally calls Loaded on every component.
// Errors raise EReadError naming the form, the component and the property.
#pragma once

#include "Component.h"
#include "FormDescription.h"

#include <string_view>

void ReadComponentDescription(TComponent& root, const TFormObject& description, std::string_view sourceName);
void ReadComponentText(TComponent& root, std::string_view text, std::string_view sourceName);

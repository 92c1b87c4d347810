// Writes a root component and the components it owns as a form description: the reverse of
// the reader, for tools and tests. Only properties whose value differs from a freshly created
// object of the same class are written, in declaration order; owned components are nested
// under their parent component; events are written as the name of the root's published
// method they call, references to components by name.
#pragma once

#include "Component.h"
#include "FormDescription.h"

TFormObject DescribeComponent(TComponent& root);
std::string WriteComponentText(TComponent& root);

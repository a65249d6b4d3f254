// Reading a form description into a root component (a form) and writing one from it.
#pragma once

#include <string>
#include <string_view>

#include "platform/classes/class_registry.h"
#include "platform/classes/form_text.h"

namespace kgui {

// Reads the description into root. Every class, property path, value kind and name is
// checked before anything is created, so a text with an error changes nothing. A setter
// that refuses its value afterwards frees the components this read created (root
// properties already set stay). The root takes the header's name; its class name is not
// checked. Returns the error message, empty on success.
std::string readComponentText(TComponent& root, std::string_view text, RawText raw = RawText::Detect,
                              const ClassRegistry& registry = stream_classes());
std::string readComponentTree(TComponent& root, const FormNode& tree,
                              const ClassRegistry& registry = stream_classes());

// The description of root: stored non-default properties in descriptor order (events never),
// sub-objects as dotted paths, children owned by root nested under their parent.
FormNode componentTree(const TComponent& root);
std::string writeComponentText(const TComponent& root);

}  // namespace kgui

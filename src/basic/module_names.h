#pragma once
// Programs of several standard modules: a name that a module declares
// Private (a variable, constant or procedure) belongs to that module alone,
// even when another module declares the same name. The interpreter keeps
// one scope of module-level names, so such a name is given a spelling of
// its own in the module that declares it Private ("counter" becomes
// "counter__Helpers"), in every place the module's text uses it.
#include <string>
#include <vector>

namespace corvane {

// Rewrites the module sources (in the order they are scanned) so that the
// Private names of each module that another module also declares are the
// module's own. A module keeps its spelling when its Private name comes
// first and no other module declares the name Public.
void keep_private_names_apart(std::vector<std::string>& sources);

}  // namespace corvane

#include "ide/workbench.h"

namespace corvane::ide {

std::string* EditorOwner::code() const {
    if (!record) return nullptr;
    switch (kind) {
        case EditorKind::form: return &static_cast<VBForm*>(record)->code;
        case EditorKind::module: return &static_cast<Module*>(record)->code;
        case EditorKind::klass: return &static_cast<ClassModule*>(record)->code;
    }
    return nullptr;
}

}  // namespace corvane::ide

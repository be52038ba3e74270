#include "tk/dialogs.h"

#include <cstdio>

namespace corvane::tk {
namespace {

DialogResponder g_responder;

void add(std::vector<Obj>& words, const char* option, const std::string& value) {
    if (value.empty()) return;
    words.emplace_back(option);
    words.emplace_back(value);
}

std::string run(Interp& interp, const std::vector<Obj>& words) {
    if (g_responder) {
        std::vector<std::string> texts;
        texts.reserve(words.size());
        for (const Obj& word : words) texts.push_back(word.str());
        if (auto answer = g_responder(texts)) return *answer;
    }
    return interp.call(words);
}

std::vector<Obj> file_words(const char* command, const FileDialogOptions& options) {
    std::vector<Obj> words{Obj(command)};
    add(words, "-parent", options.parent);
    add(words, "-title", options.title);
    add(words, "-initialdir", options.initial_dir);
    add(words, "-initialfile", options.initial_file);
    add(words, "-defaultextension", options.default_extension);
    if (!options.file_types.empty()) {
        std::vector<Obj> types;
        for (const FileType& type : options.file_types) {
            types.push_back(Obj::list({type.description, Obj::list(type.patterns)}));
        }
        words.emplace_back("-filetypes");
        words.push_back(Obj::list(types));
    }
    return words;
}

// Tk gives colours in its own form; normalise to "#rrggbb".
std::string normalise_color(Interp& interp, const std::string& color) {
    if (color.empty()) return color;
    try {
        auto rgb = interp.call_obj({"winfo", "rgb", ".", color}).to_list();
        if (rgb.size() != 3) return color;
        char text[8];
        std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<int>(rgb[0].to_int() >> 8),
                      static_cast<int>(rgb[1].to_int() >> 8), static_cast<int>(rgb[2].to_int() >> 8));
        return text;
    } catch (const TclError&) {
        return color;
    }
}

}  // namespace

std::string message_box(Interp& interp, const MessageBoxOptions& options) {
    std::vector<Obj> words{Obj("tk_messageBox")};
    add(words, "-parent", options.parent);
    add(words, "-title", options.title);
    add(words, "-message", options.message);
    add(words, "-detail", options.detail);
    add(words, "-icon", options.icon);
    add(words, "-type", options.type);
    add(words, "-default", options.default_button);
    return run(interp, words);
}

std::string get_open_file(Interp& interp, const FileDialogOptions& options) {
    return run(interp, file_words("tk_getOpenFile", options));
}

std::string get_save_file(Interp& interp, const FileDialogOptions& options) {
    return run(interp, file_words("tk_getSaveFile", options));
}

std::string choose_color(Interp& interp, const ColorDialogOptions& options) {
    std::vector<Obj> words{Obj("tk_chooseColor")};
    add(words, "-parent", options.parent);
    add(words, "-title", options.title);
    add(words, "-initialcolor", options.initial);
    return normalise_color(interp, run(interp, words));
}

void set_dialog_responder(DialogResponder responder) { g_responder = std::move(responder); }

std::optional<std::string> ask_responder(const std::vector<std::string>& words) {
    if (!g_responder) return std::nullopt;
    return g_responder(words);
}

std::string dialog_option(const std::vector<std::string>& words, std::string_view option) {
    for (std::size_t i = 1; i + 1 < words.size(); i += 2) {
        if (words[i] == option) return words[i + 1];
    }
    return {};
}

}  // namespace corvane::tk

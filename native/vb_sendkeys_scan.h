/* Corvane: reading SendKeys strings, shared by the native runtime and the
 * interpreter so that both send the same keys. A string is a list of
 * keys: a character stands for itself; "~" is Enter; "{NAME}" names a key
 * ("{TAB}", "{F5}", "{LEFT}") and "{NAME n}" or "{x n}" repeats it n times;
 * "{+}", "{^}", "{%}", "{~}", "{(}", "{)}", "{{}" and "{}}" are those
 * characters. "+", "^" and "%" hold Shift, Ctrl and Alt for the next key,
 * or for a whole group in parentheses: "+(ab)". Plain C (and valid C++)
 * without allocation: the caller gives the room. */
#ifndef VB_SENDKEYS_SCAN_H
#define VB_SENDKEYS_SCAN_H

#include <stddef.h>
#include <strings.h>

enum { VB_KEY_SHIFT = 1, VB_KEY_CTRL = 2, VB_KEY_ALT = 4 };

/* Most keys one SendKeys call may send (repeat counts included). */
enum { VB_SENDKEYS_MAX = 4096 };

/* One key: a character's code point, or (code 0) a named key by its X
 * keysym name, with the modifiers held while it is pressed. */
typedef struct VBSendKey {
    unsigned code;
    const char *name;
    unsigned modifiers;
} VBSendKey;

/* VB6's key names and the X keysyms they press. */
static const struct {
    const char *vb, *x;
} VB_SENDKEYS_NAMES[] = {
    {"BACKSPACE", "BackSpace"}, {"BS", "BackSpace"},    {"BKSP", "BackSpace"},  {"BREAK", "Break"},
    {"CAPSLOCK", "Caps_Lock"},  {"DELETE", "Delete"},   {"DEL", "Delete"},      {"DOWN", "Down"},
    {"END", "End"},             {"ENTER", "Return"},    {"ESC", "Escape"},      {"HELP", "Help"},
    {"HOME", "Home"},           {"INSERT", "Insert"},   {"INS", "Insert"},      {"LEFT", "Left"},
    {"NUMLOCK", "Num_Lock"},    {"PGDN", "Next"},       {"PGUP", "Prior"},      {"PRTSC", "Print"},
    {"RIGHT", "Right"},         {"SCROLLLOCK", "Scroll_Lock"}, {"TAB", "Tab"},  {"UP", "Up"},
    {"ADD", "KP_Add"},          {"SUBTRACT", "KP_Subtract"}, {"MULTIPLY", "KP_Multiply"}, {"DIVIDE", "KP_Divide"},
    {"F1", "F1"},   {"F2", "F2"},   {"F3", "F3"},   {"F4", "F4"},   {"F5", "F5"},   {"F6", "F6"},
    {"F7", "F7"},   {"F8", "F8"},   {"F9", "F9"},   {"F10", "F10"}, {"F11", "F11"}, {"F12", "F12"},
    {"F13", "F13"}, {"F14", "F14"}, {"F15", "F15"}, {"F16", "F16"},
};

/* The X keysym name of a VB6 key name of `length` bytes; NULL if none. */
static inline const char *vb_sendkeys_key_name(const char *word, size_t length) {
    for (size_t k = 0; k < sizeof VB_SENDKEYS_NAMES / sizeof VB_SENDKEYS_NAMES[0]; k++)
        if (strlen(VB_SENDKEYS_NAMES[k].vb) == length && !strncasecmp(VB_SENDKEYS_NAMES[k].vb, word, length))
            return VB_SENDKEYS_NAMES[k].x;
    return NULL;
}

/* The code point of the UTF-8 character at text[*i], moving *i past it;
 * an invalid byte stands for itself. */
static inline unsigned vb_sendkeys_char(const char *text, size_t *i) {
    const unsigned char *s = (const unsigned char *)text + *i;
    unsigned count = s[0] >= 0xF0 ? 3 : s[0] >= 0xE0 ? 2 : s[0] >= 0xC0 ? 1 : 0;
    unsigned code = count == 3 ? s[0] & 0x07u : count == 2 ? s[0] & 0x0Fu : count == 1 ? s[0] & 0x1Fu : s[0];
    for (unsigned k = 1; k <= count; k++) {
        if ((s[k] & 0xC0) != 0x80) {
            *i += 1;
            return s[0];
        }
        code = (code << 6) | (s[k] & 0x3Fu);
    }
    *i += 1 + count;
    return code;
}

/* Adds a key `times` times; the new count, or -1 past VB_SENDKEYS_MAX. */
static inline long vb_sendkeys_put(VBSendKey *keys, long room, long count, unsigned code, const char *name,
                                   unsigned modifiers, long times) {
    if (times > VB_SENDKEYS_MAX - count) return -1;
    for (long k = 0; k < times; k++, count++)
        if (count < room) {
            keys[count].code = code;
            keys[count].name = name;
            keys[count].modifiers = modifiers;
        }
    return count;
}

/* The braced key at text[*i] ("{TAB}", "{x 3}", "{}}"), *i at the '{',
 * added to keys; moves *i past the '}'. The new count, or -1 when the
 * braces hold no key. */
static inline long vb_sendkeys_braced(const char *text, size_t *i, VBSendKey *keys, long room, long count,
                                      unsigned modifiers) {
    const size_t start = *i + 1;
    if (!text[start]) return -1;
    size_t close = start + 1; /* the first character may be '}' itself */
    while (text[close] && text[close] != '}') close++;
    if (!text[close]) return -1;
    *i = close + 1;
    size_t end = close;
    long times = 1;
    size_t space = end;
    while (space > start + 1 && text[space - 1] != ' ') space--;
    if (space > start + 1 && space < end) { /* "{NAME n}" */
        times = 0;
        for (size_t k = space; k < end; k++) {
            if (text[k] < '0' || text[k] > '9') return -1;
            times = times * 10 + (text[k] - '0');
            if (times > VB_SENDKEYS_MAX) return -1;
        }
        end = space - 1;
    }
    size_t at = start;
    const unsigned code = vb_sendkeys_char(text, &at);
    if (at == end) return vb_sendkeys_put(keys, room, count, code, NULL, modifiers, times);
    const char *name = vb_sendkeys_key_name(text + start, end - start);
    if (!name) return -1;
    return vb_sendkeys_put(keys, room, count, 0, name, modifiers, times);
}

/* Reads a SendKeys string into keys (at most `room` of them stored).
 * Gives how many keys it holds, or -1 when it is no valid SendKeys string
 * (an unknown key name, unbalanced braces or parentheses, a modifier with
 * no key, more than VB_SENDKEYS_MAX keys). */
static inline long vb_sendkeys_scan(const char *text, VBSendKey *keys, long room) {
    unsigned held = 0, group = 0;
    int in_group = 0;
    long count = 0;
    for (size_t i = 0; text[i] && count >= 0;) {
        const char c = text[i];
        const unsigned modifier = c == '+' ? VB_KEY_SHIFT : c == '^' ? VB_KEY_CTRL : c == '%' ? VB_KEY_ALT : 0;
        if (modifier) {
            held |= modifier;
            i++;
            continue;
        }
        if (c == '(') {
            if (in_group) return -1;
            in_group = 1;
            group = held;
            held = 0;
            i++;
            continue;
        }
        if (c == ')') {
            if (!in_group || held) return -1;
            in_group = 0;
            group = 0;
            i++;
            continue;
        }
        const unsigned modifiers = held | group;
        held = 0;
        if (c == '}') return -1;
        if (c == '{') {
            count = vb_sendkeys_braced(text, &i, keys, room, count, modifiers);
        } else if (c == '~') {
            count = vb_sendkeys_put(keys, room, count, 0, "Return", modifiers, 1);
            i++;
        } else {
            const unsigned code = vb_sendkeys_char(text, &i);
            count = vb_sendkeys_put(keys, room, count, code, NULL, modifiers, 1);
        }
    }
    if (count < 0 || in_group || held) return -1;
    return count;
}

#endif

/* A program shaped like the native compiler's output: definition tables, an
 * event dispatcher, an initializer and vb_run. Every event prints a line
 * "event|form|control|name"; handlers print what they read as "key|value".
 * The startup is "Main" unless VBN_STARTUP names another. */
#define _POSIX_C_SOURCE 200809L

#include <stdio.h>
#include <stdlib.h>
#include <strings.h>

#include "vb_native.h"
#include "leak_check.h"

static void say(const char *key, VBValue value) {
    vb_print(vb_op("&", vb_op("&", vb_str(key), vb_str("|")), value));
}

static VBValue g_clicks;

static void init_module_globals(void) {
    vb_set_class_handler(NULL);
    g_clicks = vb_int(0);
    const char *startup = getenv("VBN_STARTUP");
    if (startup && !strcasecmp(startup, "Sub Main")) {
        say("sub_main", vb_get("App", "Title"));
    }
}

static void dispatch_event(int form, int control, const char *event) {
    char line[128];
    /* Resize, Activate, Paint and mouse events come with every window and click;
     * the program has no handlers for them (their own test covers them). */
    static const char *quiet[] = {"Resize", "Activate", "Paint", "MouseMove", "MouseDown", "MouseUp"};
    for (size_t k = 0; k < sizeof quiet / sizeof quiet[0]; k++)
        if (!strcasecmp(event, quiet[k])) return;
    snprintf(line, sizeof line, "event|%d|%d|%s", form, control, event);
    vb_print(vb_str(line));
    if (form == 0 && control == -1 && !strcasecmp(event, "Load")) {
        say("caption", vb_get("Me", "Caption"));
        vb_set("Second", "Caption", vb_str("Second Window"));
        say("second_visible", vb_get("Second", "Visible"));
        return;
    }
    if (form == 0 && control == 1 && !strcasecmp(event, "Change")) {
        say("text1", vb_get("Text1", "Text"));
        return;
    }
    if (form == 0 && control == 2 && !strcasecmp(event, "Click")) {
        say("check1", vb_get("check1", "Value"));
        return;
    }
    if (form == 0 && control == 3 && !strcasecmp(event, "Change")) {
        say("slider1", vb_get("Slider1", "Value"));
        return;
    }
    if (form == 0 && control == 4 && !strcasecmp(event, "Click")) {
        (void)vb_msgbox(vb_str("Hello from Main"), vb_str("Greeting"));
        say("after_msgbox", vb_get("Label1", "Caption"));
        return;
    }
    if (form == 0 && control == 5 && !strcasecmp(event, "Click")) {
        say("text2", vb_get("Text2", "Text"));
        say("second_visible", vb_get("Second", "Visible"));
        vb_show("Second");
        say("second_visible", vb_get("Second", "Visible"));
        return;
    }
    if (form == 0 && control == 6 && !strcasecmp(event, "Click")) {
        vb_end();
        say("end_called", vb_int(1));
        return;
    }
    if (form == 0 && control == 7 && !strcasecmp(event, "Click")) {
        g_clicks = vb_op("+", g_clicks, vb_int(1));
        vb_set("Label1", "Caption", vb_op("&", vb_str("clicks "), g_clicks));
        vb_set("Command4", "Enabled", vb_int(0));
        say("label1", vb_get("Label1", "Caption"));
        say("command4_enabled", vb_get("Command4", "Enabled"));
        return;
    }
    if (form == 0 && control == -4 && !strcasecmp(event, "Click")) { /* File > Exit */
        vb_set("Label1", "Caption", vb_str("Exit chosen"));
        say("menu_exit", vb_get("Label1", "Caption"));
        return;
    }
    if (form == 0 && control == -6 && !strcasecmp(event, "Click")) { /* Help > About */
        say("menu_about", vb_int(1));
        return;
    }
    if (form == 1 && control == -1 && !strcasecmp(event, "Load")) {
        say("second_caption", vb_get("Me", "Caption"));
        return;
    }
    if (form == 1 && control == 1 && !strcasecmp(event, "Click")) {
        vb_unload("Me");
        return;
    }
    (void)form;
    (void)control;
    (void)event;
}

static const VBControlDef controls_0[] = {
    {"Label", "Label1", "Ready", "", 10, 5, 300, 20, 1, 1},
    {"TextBox", "Text1", "", "", 10, 40, 200, 24, 1, 1},
    {"CheckBox", "Check1", "Check me", "", 10, 80, 150, 20, 1, 1},
    {"Slider", "Slider1", "", "", 10, 120, 200, 30, 1, 1},
    {"CommandButton", "Command1", "Message", "", 10, 170, 100, 30, 1, 1},
    {"CommandButton", "Command2", "Second", "", 120, 170, 100, 30, 1, 1},
    {"CommandButton", "Command3", "End", "", 230, 170, 100, 30, 1, 1},
    {"CommandButton", "Command4", "Count", "", 10, 220, 100, 30, 1, 1},
    {"CommandButton", "Hidden1", "Hidden", "", 120, 220, 100, 30, 0, 1},
    {"ProgressBar", "Progress1", "", "", 230, 220, 100, 20, 1, 1},
    {0},
};
static const VBMenuDef menus_0[] = {
    {"mnuFile", "File", -1, 1, 1, 0},
    {"mnuOpen", "Open", 0, 0, 1, 0},
    {"mnuExit", "Exit", 0, 1, 1, 0},
    {"mnuHelp", "Help", -1, 1, 1, 0},
    {"mnuAbout", "About", 3, 1, 1, 0},
    {0},
};
static const VBControlDef controls_1[] = {
    {"TextBox", "Text2", "", "two", 10, 10, 100, 24, 1, 1},
    {"CommandButton", "Close2", "Close", "", 10, 50, 80, 30, 1, 1},
    {0},
};
static const VBMenuDef menus_1[] = {
    {0},
};
static const VBFormDef forms[] = {
    {"Main", "Main Form", 400, 300, controls_0, 10, menus_0, 5},
    {"Second", "Second", 200, 100, controls_1, 2, menus_1, 0},
    {0},
};

int main(void) {
    const char *startup = getenv("VBN_STARTUP");
    vb_run(forms, 2, startup ? startup : "Main", dispatch_event, init_module_globals);
    return 0;
}

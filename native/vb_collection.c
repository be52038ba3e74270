/* Corvane native runtime: VB6's Collection object.
 *
 * Compiled as part of vb_native.c (which includes this file at its end).
 * An ordered list of values, each optionally reached by a text key compared
 * without regard to case; positions count from 1. Item is the default
 * member, so c(1) and c("key") read through vb_index. The failures carry
 * VB6's numbers: 5 for a missing key or Before and After together, 9 for a
 * position out of range, 450 for a wrong argument count, 457 for a key
 * already present. */

typedef struct VBCollection {
    VBValue *items;
    char **keys; /* folded to lower case; null for an item without a key */
    long long count, capacity;
} VBCollection;

static VBValue collection_new(void) {
    VBObject *o = new_object(TAG_COLLECTION, "Collection");
    o->collection = vb_alloc(sizeof(VBCollection));
    return object_value(o);
}

static VBCollection *collection_of(VBObject *o) { return o->collection; }

static char *folded_key(VBValue key) {
    char *k = copy_text(string_of(key));
    for (char *p = k; *p; p++) *p = (char)tolower((unsigned char)*p);
    return k;
}

/* An argument left out (c.Add x, , , "k") comes as Nothing. */
static int collection_given(int argc, VBValue *args, int i) {
    return i < argc && !(args[i].kind == VB_OBJECT && !args[i].object);
}

/* The position from 0 of an index (a number from 1) or a key (a String). */
static long long collection_position(const VBCollection *c, VBValue index_or_key) {
    if (index_or_key.kind == VB_STRING) {
        char *key = folded_key(index_or_key);
        for (long long i = 0; i < c->count; i++)
            if (c->keys[i] && !strcmp(c->keys[i], key)) return i;
        failf("Invalid procedure call or argument: no item with the key \"%s\"", string_of(index_or_key));
    }
    Num n = number_of(index_or_key);
    long long i = n.is_int ? n.i : (n.d > -9e18 && n.d < 9e18) ? (long long)trunc(n.d) : 0;
    if (i < 1 || i > c->count) fatal("Subscript out of range");
    return i - 1;
}

static void collection_grow(VBCollection *c) {
    if (c->count < c->capacity) return;
    long long capacity = c->capacity ? c->capacity * 2 : 8;
    VBValue *items = vb_alloc(sizeof(VBValue) * (size_t)capacity);
    char **keys = vb_alloc(sizeof(char *) * (size_t)capacity);
    for (long long i = 0; i < c->count; i++) {
        items[i] = c->items[i];
        keys[i] = c->keys[i];
    }
    c->items = items;
    c->keys = keys;
    c->capacity = capacity;
}

/* Add item, [key], [before], [after] */
static void collection_add(VBCollection *c, int argc, VBValue *args) {
    if (argc < 1 || argc > 4) fatal("Wrong number of arguments: Collection.Add");
    if (collection_given(argc, args, 2) && collection_given(argc, args, 3))
        fatal("Invalid procedure call or argument: Collection.Add takes Before or After, not both");
    char *key = NULL;
    if (collection_given(argc, args, 1)) {
        key = folded_key(args[1]);
        for (long long i = 0; i < c->count; i++)
            if (c->keys[i] && !strcmp(c->keys[i], key))
                fatal("This key is already associated with an element of this collection");
    }
    long long at = c->count;
    if (collection_given(argc, args, 2)) at = collection_position(c, args[2]);
    else if (collection_given(argc, args, 3)) at = collection_position(c, args[3]) + 1;
    collection_grow(c);
    for (long long i = c->count; i > at; i--) {
        c->items[i] = c->items[i - 1];
        c->keys[i] = c->keys[i - 1];
    }
    c->items[at] = vb_record_copy(args[0]);
    c->keys[at] = key;
    c->count++;
}

static void collection_remove(VBCollection *c, int argc, VBValue *args) {
    if (argc != 1) fatal("Wrong number of arguments: Collection.Remove");
    long long at = collection_position(c, args[0]);
    for (long long i = at; i + 1 < c->count; i++) {
        c->items[i] = c->items[i + 1];
        c->keys[i] = c->keys[i + 1];
    }
    c->count--;
    c->items[c->count] = int_value(0);
    c->keys[c->count] = NULL;
}

static VBValue collection_item(VBValue collection, int argc, VBValue *args) {
    if (argc != 1) fatal("Wrong number of arguments: Collection.Item");
    VBCollection *c = collection_of(collection.object);
    return c->items[collection_position(c, args[0])];
}

static VBValue collection_get(VBObject *o, const char *name) {
    if (!strcasecmp(name, "Count")) return int_value(collection_of(o)->count);
    failf("Object doesn't support this property or method: Collection.%s", name);
}

static VBValue collection_call(VBObject *o, const char *name, int argc, VBValue *args) {
    VBCollection *c = collection_of(o);
    if (!strcasecmp(name, "Add")) {
        collection_add(c, argc, args);
        return int_value(0);
    }
    if (!strcasecmp(name, "Remove")) {
        collection_remove(c, argc, args);
        return int_value(0);
    }
    if (!strcasecmp(name, "Item")) return collection_item(object_value(o), argc, args);
    if (!strcasecmp(name, "Count") && argc == 0) return int_value(c->count);
    failf("Object doesn't support this property or method: Collection.%s", name);
}

/* For Each walks a copy of the values taken at the start. */
static VBValue collection_each_copy(VBValue collection) {
    VBCollection *c = collection_of(collection.object);
    VBValue v = array_value(c->count);
    VBArray *a = v.object;
    for (long long k = 0; k < c->count; k++) a->items[k] = c->items[k];
    return v;
}

static int is_collection(VBValue v) {
    return v.kind == VB_OBJECT && v.object && ((VBObject *)v.object)->tag == TAG_COLLECTION;
}

// IDs of the Lumeno object tag.
#ifndef TLUMENOGENERICOBJTAG_H
#define TLUMENOGENERICOBJTAG_H

enum {
    Tlumenogenericobjtag = 10005,

    LOBJ_GROUP_EXPORT = 9001,
    LOBJ_NO_NORMAL_SMOOTHING = 1000,
    LOBJ_EXCLUDE = 1001,
};

#endif

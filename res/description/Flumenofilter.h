// IDs of the Lumeno scene saver's settings page.
#ifndef FLUMENOFILTER_H
#define FLUMENOFILTER_H

enum {
    Flumenofilter = 1019430,

    LFILTER_GROUP_RENDERER = 9001,
    LFILTER_RENDERER_FOLDER = 1000,
    LFILTER_LAST_EXPORT_FILE = 1001,
};

#endif

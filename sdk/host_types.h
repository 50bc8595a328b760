/* Plain data that crosses the boundary between the host and a plug-in module.
 * Everything here is C: no C++ type, no exception and no ownership crosses. */
#ifndef LUMENO_SDK_HOST_TYPES_H
#define LUMENO_SDK_HOST_TYPES_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Opaque handles. The host defines the structs; a module only passes pointers back.
 * Documents, objects, tags and materials are all nodes of the host's scene graph. */
typedef struct HostNode HostNode;
typedef HostNode HostDocument;
typedef HostNode HostObject;
typedef HostNode HostTag;
typedef HostNode HostMaterial;
typedef struct HostString HostString;           /* a host text (UTF-8 inside) */
typedef struct HostFilename HostFilename;       /* a host file name */
typedef struct HostContainer HostContainer;     /* a parameter container */
typedef struct HostResource HostResource;       /* a loaded string-table resource */
typedef struct HostDescription HostDescription; /* a tag's parameter description */
typedef struct HostImage HostImage;             /* an icon or preview image */
typedef struct HostSurface HostSurface;         /* a drawing surface handed to a tag's Draw */
typedef struct HostView HostView;               /* a viewport of a document */
typedef struct HostScratch HostScratch;         /* the command-state scratch object */
typedef struct HostChannel HostChannel;         /* a channel of a material (lent by the material) */

/** Three 32-bit reals in the host's axis order (x, y, z). */
typedef struct HostVector {
    float x, y, z;
} HostVector;

/** Offset, then the three axis vectors: p maps to off + v1*p.x + v2*p.y + v3*p.z. */
typedef struct HostMatrix {
    HostVector off, v1, v2, v3;
} HostMatrix;

/** One polygon record; a triangle has c == d. */
typedef struct HostPolygon {
    int32_t a, b, c, d;
} HostPolygon;

/** Kinds of value that a generic value or a container element can hold. */
typedef enum HostValueType {
    HOST_VALUE_NONE = 0,
    HOST_VALUE_BOOL = 1,
    HOST_VALUE_INT = 2,
    HOST_VALUE_REAL = 3,
    HOST_VALUE_VECTOR = 4,
    HOST_VALUE_STRING = 5,
    HOST_VALUE_FILENAME = 6,
    HOST_VALUE_LINK = 7
} HostValueType;

/** A generic value as the host's node-parameter read fills it. Booleans are kept in
 * `integer` (0 or 1). A link holds the host's token of the linked node, which is
 * resolved against a document by the node group's `resolve_link`; the token of an
 * empty link is 0. Texts and file names are not carried by a generic value. */
typedef struct HostValue {
    int32_t type;
    int32_t integer;
    float real;
    HostVector vector;
    uint64_t link;
} HostValue;

#ifdef __cplusplus
}
#endif

#endif

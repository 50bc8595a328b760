/* The host's numeric constants that modules rely on. */
#ifndef LUMENO_SDK_HOST_CONSTANTS_H
#define LUMENO_SDK_HOST_CONSTANTS_H

/* The lowest interface version a module built against this interface accepts. */
#define HOST_MIN_INTERFACE_VERSION 7500
/* The interface version this host reports unless told otherwise. */
#define HOST_INTERFACE_VERSION 7500

/* c4d_main actions. */
#define C4D_ACTION_INIT 1
#define C4D_ACTION_START 2
#define C4D_ACTION_END 3
#define C4D_ACTION_QUERY 4
#define C4D_ACTION_MESSAGE 6

/* Module messages sent with C4D_ACTION_MESSAGE. */
#define C4D_MSG_NONE 0
#define C4D_MSG_LOAD_STRINGS 1

/* c4d_main results. */
#define C4D_RESULT_OK 1
#define C4D_RESULT_FAILED 0
#define C4D_RESULT_REFUSED (-1)
#define C4D_RESULT_TOO_OLD (-3)

/* Plug-in kinds passed to registration. */
#define PLUGIN_KIND_COMMAND 7
#define PLUGIN_KIND_TAG 10
#define PLUGIN_KIND_SCENE_SAVER 25

/* File results of a save. */
#define FILE_RESULT_OK 0
#define FILE_RESULT_OPEN_FAILED (-1)
#define FILE_RESULT_OUT_OF_MEMORY (-7)

/* Save flags: bit 0 asks for the file to be written. */
#define SAVE_FLAG_WRITE 1

/* Command states. */
#define COMMAND_STATE_ENABLED 0x40000000
#define COMMAND_STATE_DISABLED 0

/* Document save formats. */
#define SAVE_FORMAT_3DS 1001038

/* Node type IDs. */
#define TYPE_POLYGON_OBJECT 5100
#define TYPE_LIGHT 5102
#define TYPE_CAMERA 5103
#define TYPE_INSTANCE 5126
#define TYPE_NULL 5140
#define TYPE_SPHERE 5160
#define TYPE_CUBE 5159
#define TYPE_PLANE 5168
#define TYPE_CYLINDER 5170
#define TYPE_CONE 5162
#define TYPE_DISC 5164
#define TYPE_TORUS 5163
#define TYPE_POLYGON_DATA 5604
#define TYPE_TEXTURE_TAG 5616
#define TYPE_CAMERA_TARGET_TAG 5676
#define TYPE_MATERIAL 5703
#define TYPE_DOCUMENT 110059
/* Link type filter that accepts objects only. */
#define LINK_FILTER_OBJECT 5155
/* Link filter that accepts any node. */
#define LINK_FILTER_ANY 0

/* Parameters of host nodes. */
#define TEXTURE_TAG_MATERIAL 1010   /* texture tag: its material link */
#define INSTANCE_LINK 1001          /* instance object: the linked object */
#define CAMERA_TARGET_LINK 1001     /* camera target tag: the target object */
#define CAMERA_FIELD_OF_VIEW 1008   /* camera: field of view across the film width, radians */

/* Document settings (file names). */
#define DOCUMENT_PATH 1012
#define DOCUMENT_FILE_NAME 1013

/* Node messages. */
#define NODE_MSG_UPDATE 5
#define NODE_MSG_DESCRIPTION_EDIT_BEGIN 16
#define NODE_MSG_DESCRIPTION_CHANGED 31

/* Description flags and entry properties. */
#define DESCFLAGS_DESC_LOADED 2
#define DESC_PROPERTY_CYCLE 14  /* choice list: a container from code to label */
#define DESC_PROPERTY_HIDE 15   /* boolean: the entry is hidden */

/* Modelling: current state to object. */
#define MODELING_CURRENT_STATE_TO_OBJECT 245
#define MODELING_MODE_POLYGONS 1
#define MODELING_OPTION_INHERIT 2141

/* Copy and insert flags. */
#define COPY_FLAGS_DEFAULT 0
/* Copy a node with its tags but without its children. */
#define COPY_FLAGS_NO_CHILDREN 4
/* set_matrix places the object by its global matrix; its children move along with it
 * (their local matrices stay), unless SET_MATRIX_CHILDREN_STAY asks them to keep their places. */
#define SET_MATRIX_CHILDREN_FOLLOW 1
#define SET_MATRIX_CHILDREN_STAY 2

/* File dialog. */
#define FILE_DIALOG_KIND_ANY 0
#define FILE_DIALOG_SAVE 1

/* Icon image load result. */
#define IMAGE_RESULT_OK 1

/* Plug-in settings: merge the stored container into the existing one. */
#define SETTINGS_MERGE 1

/* Material channels and the data element that names a channel's texture. */
#define MATERIAL_CHANNEL_COLOUR 0
#define MATERIAL_CHANNEL_TRANSPARENCY 2
#define MATERIAL_CHANNEL_REFLECTION 3
#define MATERIAL_CHANNEL_BUMP 6
#define MATERIAL_CHANNEL_SPECULAR_COLOUR 8
#define MATERIAL_CHANNEL_SPECULAR 9
#define CHANNEL_TEXTURE_NAME 1002

#endif

/*
 * liborvu-icons: the icons of Windows executables (PE32, PE32+, 16-bit NE)
 * and icon files, read the way Windows reads them.
 *
 * Open a file or bytes in memory, list its icons and their images, and get
 * an icon as a lossless .ico file, any image as RGBA pixels or as PNG, the
 * image Windows chooses for a size, or the icon drawn as Windows draws it.
 * Every file is treated as hostile: a damaged one fails with a status, never
 * crashes the caller, and every size it states is checked against limits.
 *
 * The contract of every call:
 *  - it returns a status, ORVU_ICONS_OK (0) or why it failed;
 *  - after a failure, orvu_icons_last_message() says why in English, in the
 *    calling thread, until the next call in that thread fails;
 *  - output parameters are written only on success;
 *  - memory the library returns is freed with orvu_icons_free() (buffers) or
 *    with the matching close or free function (handles), never with free();
 *  - a handle may be used from several threads: calls on one file handle
 *    take turns, calls on different handles run in parallel;
 *  - no call keeps a pointer the caller passed in once it returns.
 *
 * Version 1 of the interface. Later versions of the library only add
 * functions and enum values, never change or remove one, and grow
 * orvu_icons_image_info only at its end (the caller sets struct_size).
 */
#ifndef ORVU_ICONS_H
#define ORVU_ICONS_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(ORVU_ICONS_BUILDING)
#define ORVU_ICONS_API __declspec(dllexport)
#else
#define ORVU_ICONS_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define ORVU_ICONS_API __attribute__((visibility("default")))
#else
#define ORVU_ICONS_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The version this header belongs to; orvu_icons_version() gives the
 * library's at run time. */
#define ORVU_ICONS_VERSION_MAJOR 1
#define ORVU_ICONS_VERSION_MINOR 0
#define ORVU_ICONS_VERSION_PATCH 0

/* Why a call failed. Values are never reused or renumbered. */
typedef enum orvu_icons_status {
    ORVU_ICONS_OK = 0,
    /* The operating system refused: orvu_icons_last_system_error() gives
     * its error number where it is known. */
    ORVU_ICONS_SYSTEM_ERROR = 1,
    /* A folder, device, FIFO or socket where a file was wanted. */
    ORVU_ICONS_NOT_A_FILE = 2,
    /* Neither a PE or NE executable nor an icon file. */
    ORVU_ICONS_NOT_ICON_FILE = 3,
    /* A structure runs past its data or holds a value no valid file has. */
    ORVU_ICONS_DAMAGED = 4,
    /* A size past one of the reader's limits: an image over 8 MiB, more
     * than 64 MiB read from the file in one call, more pixels decoded in
     * one call than 32 images of 1024 x 1024. The limits bound what one
     * call may cost, whatever the file holds; they never count what calls
     * before it cost, so a file stays usable however often it is asked. */
    ORVU_ICONS_OVER_LIMIT = 5,
    /* An icon or image the file doesn't hold (an index past the end, an
     * image its directory lists that isn't there). */
    ORVU_ICONS_NO_SUCH_ICON = 6,
    /* A null pointer, or a size outside 1 to 256. */
    ORVU_ICONS_INVALID_ARGUMENT = 7,
    ORVU_ICONS_OUT_OF_MEMORY = 8
} orvu_icons_status;

/* What a group of images is. A file's groups of each kind are numbered
 * apart, from 0: the calls that take no kind mean icons. */
typedef enum orvu_icons_kind {
    /* An icon: RT_GROUP_ICON, an .ico file. */
    ORVU_ICONS_KIND_ICON = 1,
    /* A cursor, each image with its hotspot: RT_GROUP_CURSOR, a .cur file. */
    ORVU_ICONS_KIND_CURSOR = 2,
    /* An animated cursor or icon: RT_ANICURSOR, RT_ANIICON, an .ani file.
     * Its images are those of the frame its first step shows. */
    ORVU_ICONS_KIND_ANIMATED = 3
} orvu_icons_kind;

/* How an image is stored. */
typedef enum orvu_icons_format {
    ORVU_ICONS_FORMAT_DIB = 1,
    ORVU_ICONS_FORMAT_PNG = 2,
    /* Listed by the icon's directory, but not in the file. */
    ORVU_ICONS_FORMAT_MISSING = 3
} orvu_icons_format;

/* An open file and its icons. */
typedef struct orvu_icons_file orvu_icons_file;
/* One icon's description, read once; independent of its file. */
typedef struct orvu_icons_icon orvu_icons_icon;

/* One image of an icon as its file describes it, without decoding it. Set
 * struct_size to sizeof(orvu_icons_image_info) before the call: the library
 * fills in the fields that fit, so that a program built against this header
 * keeps working with a later library whose structure is longer. */
typedef struct orvu_icons_image_info {
    size_t struct_size;
    /* What the image is: the size its own header gives, where that header
     * makes an image, and a DIB's bits per pixel (a PNG, which Windows
     * decodes to 32 bits, keeps the directory's where that is a depth an
     * image can have); otherwise (a missing image, a damaged header) what
     * the directory lists, 256 where it says 0. */
    int32_t width; /* pixels */
    int32_t height;
    int32_t bits;    /* bits per pixel; 0 where neither header nor directory says */
    int32_t colours; /* the directory's colour count, 0 for 256 or more */
    int32_t format;  /* orvu_icons_format */
    uint64_t bytes;  /* as stored; 0 for a missing image */
    /* A cursor image's hotspot as stored, from its top-left
     * corner (has_hotspot 1); 0, 0, 0 for an icon's image or a missing one.
     * A library older than the header leaves these as the caller set them. */
    int32_t has_hotspot;
    int32_t hotspot_x;
    int32_t hotspot_y;
    /* What the icon's directory lists the image as, where that differs from
     * what the image's own header says (is_listed_otherwise 1): another
     * size, or another bit count where the directory gives one. Some
     * resource compilers list a 256 x 256 PNG image by bytes of its header,
     * as 13 x 0 at 21060 bits. Windows chooses the image for a size by what
     * the directory lists (orvu_icons_icon_image_for_size() does too).
     * 0, 0, 0, 0 where they agree. A library older than the header leaves
     * these as the caller set them. */
    int32_t is_listed_otherwise;
    int32_t listed_width;
    int32_t listed_height;
    int32_t listed_bits;
} orvu_icons_image_info;

/* "1.0.0": the library's version. */
ORVU_ICONS_API const char* orvu_icons_version(void);

/* Why the last call that failed in this thread failed, in English; "" when
 * none has. The text stays valid until the next call in this thread fails. */
ORVU_ICONS_API const char* orvu_icons_last_message(void);
/* The system's error number (errno; GetLastError() on Windows) of the last
 * ORVU_ICONS_SYSTEM_ERROR in this thread where it is known, otherwise 0. */
ORVU_ICONS_API int orvu_icons_last_system_error(void);

/* Frees a buffer the library returned; NULL is allowed. */
ORVU_ICONS_API void orvu_icons_free(void* buffer);

/* Opens the file at `path` (bytes as the file system takes them; UTF-8 on
 * Windows). Fails when it can't be read, or is no executable or icon file,
 * or its headers are damaged. An executable without icons opens, with 0
 * icons. Only the bytes needed are read, when they are needed: the file
 * stays open until orvu_icons_close(). */
ORVU_ICONS_API orvu_icons_status orvu_icons_open(const char* path, orvu_icons_file** file);
/* The same for `size` bytes in memory, which are copied. */
ORVU_ICONS_API orvu_icons_status orvu_icons_open_memory(const void* data, size_t size,
                                                        orvu_icons_file** file);
/* Closes the file and frees the handle; NULL is allowed. */
ORVU_ICONS_API void orvu_icons_close(orvu_icons_file* file);

/* How many icons the file holds: what Windows' ExtractIconEx counts. */
ORVU_ICONS_API orvu_icons_status orvu_icons_count(orvu_icons_file* file, uint32_t* count);

/* Icon `icon` (from 0): its name and the description of every image. */
ORVU_ICONS_API orvu_icons_status orvu_icons_describe(orvu_icons_file* file, uint32_t icon,
                                                     orvu_icons_icon** description);
ORVU_ICONS_API void orvu_icons_icon_free(orvu_icons_icon* description);

/* What the description tells; each of these accepts only a description
 * from orvu_icons_describe(). */
ORVU_ICONS_API uint32_t orvu_icons_icon_index(const orvu_icons_icon* description);
ORVU_ICONS_API orvu_icons_kind orvu_icons_icon_kind(const orvu_icons_icon* description);
/* The resource id (0 to 65535), or -1 for a named resource or an icon file. */
ORVU_ICONS_API int32_t orvu_icons_icon_id(const orvu_icons_icon* description);
/* A named resource's name in UTF-8, or NULL; it lives as long as the
 * description. */
ORVU_ICONS_API const char* orvu_icons_icon_name(const orvu_icons_icon* description);
/* The resource's language id (1033, 2052, 0 for neutral), or -1 in an icon file. */
ORVU_ICONS_API int32_t orvu_icons_icon_language(const orvu_icons_icon* description);
/* How many images the icon's directory lists, those missing from the file included. */
ORVU_ICONS_API size_t orvu_icons_icon_image_count(const orvu_icons_icon* description);
/* Image `image` (from 0, in directory order). */
ORVU_ICONS_API orvu_icons_status orvu_icons_icon_image(const orvu_icons_icon* description,
                                                       size_t image, orvu_icons_image_info* info);
/* The image Windows shows for the icon at size x size (1 to 256; 32 for a
 * desktop icon, 16 for a small one), on a display of 32 bits a pixel. */
ORVU_ICONS_API orvu_icons_status orvu_icons_icon_image_for_size(const orvu_icons_icon* description,
                                                                int size, size_t* image);

/* The IMAGE_RESOURCE_DIRECTORY_ENTRY that names icon `icon` in a PE file's
 * RT_GROUP_ICON directory, both fields as stored (Name: an id, or with the
 * top bit set a name's offset; OffsetToData). ORVU_ICONS_NO_SUCH_ICON for
 * files that are not PE. For tools that know icons by these values. */
ORVU_ICONS_API orvu_icons_status orvu_icons_resource_entry(orvu_icons_file* file, uint32_t icon,
                                                           uint32_t* name,
                                                           uint32_t* offset_to_data);

/* Icon `icon` as an .ico file: every image the file holds, byte for byte
 * as stored (PNG images stay PNG), each entry's byte count the image's
 * true size. An icon whose file lacks some of its images gives the ones it
 * has (orvu_icons_icon_image() tells which are missing). Free *data with
 * orvu_icons_free(). */
ORVU_ICONS_API orvu_icons_status orvu_icons_ico(orvu_icons_file* file, uint32_t icon,
                                                uint8_t** data, size_t* size);

/* Image `image` of icon `icon` decoded at its natural size: *pixels holds
 * width * height pixels, rows from the top, 4 bytes each in the order R, G,
 * B, A, alpha not premultiplied. An image without an alpha channel gets one
 * from its mask; a masked pixel that would invert the background becomes
 * black, as opaque as its colour is bright. Free *pixels with
 * orvu_icons_free(). */
ORVU_ICONS_API orvu_icons_status orvu_icons_image_rgba(orvu_icons_file* file, uint32_t icon,
                                                       size_t image, uint8_t** pixels,
                                                       uint32_t* width, uint32_t* height);

/* Image `image` of icon `icon` as a PNG file: the pixels of
 * orvu_icons_image_rgba(), 8-bit RGBA. */
ORVU_ICONS_API orvu_icons_status orvu_icons_image_png(orvu_icons_file* file, uint32_t icon,
                                                      size_t image, uint8_t** data, size_t* size);

/* Icon `icon` as a PNG file of one image: among the images the file holds,
 * the one Windows shows at size x size (1 to 256), or for size 0 the
 * largest (the most pixels, then the deepest colour, as the images' own
 * headers say), at its natural size. */
ORVU_ICONS_API orvu_icons_status orvu_icons_png_for_size(orvu_icons_file* file, uint32_t icon,
                                                         int size, uint8_t** data, size_t* bytes);

/* Icon `icon` drawn as Windows draws it at size x size (1 to 256) over the
 * colour `background` (0xRRGGBB): the image Windows chooses for the size,
 * scaled where it has another size, through its alpha channel or its mask
 * (a masked pixel of a colour inverts the background). *pixels holds size *
 * size opaque pixels as in orvu_icons_image_rgba(). Free it with
 * orvu_icons_free(). */
ORVU_ICONS_API orvu_icons_status orvu_icons_draw(orvu_icons_file* file, uint32_t icon, int size,
                                                 uint32_t background, uint8_t** pixels);

/* Groups of every kind. Each of these takes a kind and the
 * group's index among the file's groups of that kind (from 0); for
 * ORVU_ICONS_KIND_ICON each does what the call above without a kind does.
 * A kind that is none of orvu_icons_kind fails with
 * ORVU_ICONS_INVALID_ARGUMENT. */

/* How many groups of `kind` the file holds. */
ORVU_ICONS_API orvu_icons_status orvu_icons_count_kind(orvu_icons_file* file, orvu_icons_kind kind,
                                                       uint32_t* count);

/* Group `index` of `kind`: a description as orvu_icons_describe() gives,
 * whose orvu_icons_icon_kind() is `kind` and whose
 * orvu_icons_icon_image_for_size() follows Windows' rule for that kind (a
 * cursor's: the largest image that fits the size). */
ORVU_ICONS_API orvu_icons_status orvu_icons_describe_kind(orvu_icons_file* file,
                                                          orvu_icons_kind kind, uint32_t index,
                                                          orvu_icons_icon** description);

/* The group as a file of its kind, losing nothing: an icon as .ico
 * (orvu_icons_ico()); a cursor as .cur, every image the file holds byte for
 * byte as stored, each entry with the image's hotspot; an animated one as
 * .ani, its bytes exactly as stored. Free *data with orvu_icons_free(). */
ORVU_ICONS_API orvu_icons_status orvu_icons_kind_file(orvu_icons_file* file, orvu_icons_kind kind,
                                                      uint32_t index, uint8_t** data, size_t* size);

/* Image `image` of the group, decoded as orvu_icons_image_rgba() decodes
 * it, or as a PNG file as orvu_icons_image_png() writes it. */
ORVU_ICONS_API orvu_icons_status orvu_icons_kind_image_rgba(orvu_icons_file* file,
                                                            orvu_icons_kind kind, uint32_t index,
                                                            size_t image, uint8_t** pixels,
                                                            uint32_t* width, uint32_t* height);
ORVU_ICONS_API orvu_icons_status orvu_icons_kind_image_png(orvu_icons_file* file,
                                                           orvu_icons_kind kind, uint32_t index,
                                                           size_t image, uint8_t** data,
                                                           size_t* size);

/* The group as a PNG file of one image, as orvu_icons_png_for_size(): the
 * one Windows loads at size x size by the rule for its kind, or for size 0
 * the largest. A cursor image's PNG carries its hotspot as the text chunk
 * "hotspot", "x,y". */
ORVU_ICONS_API orvu_icons_status orvu_icons_kind_png_for_size(orvu_icons_file* file,
                                                              orvu_icons_kind kind, uint32_t index,
                                                              int size, uint8_t** data,
                                                              size_t* bytes);

/* The group drawn as Windows draws it at size x size (1 to 256) over
 * `background`, as orvu_icons_draw(): a cursor's image chosen and scaled as
 * LoadImage does, an animated one at its first step. *hotspot_x and
 * *hotspot_y get the hotspot Windows reports for it (GetIconInfo): a
 * cursor's as stored, scaled with its image; an icon's in the middle. It is
 * not bounded: it may lie outside the picture. Free *pixels with
 * orvu_icons_free(). */
ORVU_ICONS_API orvu_icons_status orvu_icons_kind_draw(orvu_icons_file* file, orvu_icons_kind kind,
                                                      uint32_t index, int size, uint32_t background,
                                                      uint8_t** pixels, int32_t* hotspot_x,
                                                      int32_t* hotspot_y);

#ifdef __cplusplus
}
#endif

#endif /* ORVU_ICONS_H */

/*
 * list-icons: every icon of a Windows program or icon file, with its images
 * and its SHA-256, and the image Windows shows at 48 x 48 as a PNG file.
 *
 *   list-icons FILE [PNG]
 *
 * Build it against the installed library:
 *   cc list-icons.c $(pkg-config --cflags --libs orvu-icons) -o list-icons
 * or with CMake (CMakeLists.txt beside it): find_package(OrvuIcons).
 */
#include <orvu-icons.h>

#include <stdio.h>

static const char* format_name(int format) {
    switch (format) {
    case ORVU_ICONS_FORMAT_DIB:
        return "DIB";
    case ORVU_ICONS_FORMAT_PNG:
        return "PNG";
    default:
        return "missing";
    }
}

/* One line per icon: its id or name, each image, then the SHA-256 of the
 * icon as an .ico file, which finds the same icon elsewhere. */
static int list_icon(orvu_icons_file* file, uint32_t index) {
    orvu_icons_icon* icon = NULL;
    if (orvu_icons_describe(file, index, &icon) != ORVU_ICONS_OK) {
        printf("icon %u: %s\n", (unsigned)index, orvu_icons_last_message());
        return 1;
    }
    if (orvu_icons_icon_name(icon))
        printf("icon %u: %s,", (unsigned)index, orvu_icons_icon_name(icon));
    else
        printf("icon %u: id %d,", (unsigned)index, (int)orvu_icons_icon_id(icon));
    size_t shown = 0;
    orvu_icons_icon_image_for_size(icon, 48, &shown);
    for (size_t i = 0; i < orvu_icons_icon_image_count(icon); ++i) {
        orvu_icons_image_info info = {0};
        info.struct_size = sizeof info; /* which fields this program knows */
        orvu_icons_icon_image(icon, i, &info);
        printf(" %dx%d %d-bit %s%s", (int)info.width, (int)info.height, (int)info.bits,
               format_name(info.format), i == shown ? "*" : "");
    }
    char sha256[65];
    if (orvu_icons_kind_sha256(file, ORVU_ICONS_KIND_ICON, index, sha256) == ORVU_ICONS_OK)
        printf(" sha256 %s", sha256);
    printf("\n");
    orvu_icons_icon_free(icon);
    return 0;
}

/* The first icon's image for 48 x 48 as a PNG file. */
static int write_png(orvu_icons_file* file, const char* path) {
    uint8_t* png = NULL;
    size_t size = 0;
    if (orvu_icons_png_for_size(file, 0, 48, &png, &size) != ORVU_ICONS_OK) {
        fprintf(stderr, "no PNG: %s\n", orvu_icons_last_message());
        return 1;
    }
    FILE* out = fopen(path, "wb");
    const int written = out && fwrite(png, 1, size, out) == size;
    if (out)
        fclose(out);
    orvu_icons_free(png);
    if (!written) {
        perror(path);
        return 1;
    }
    printf("wrote %s (%zu bytes)\n", path, size);
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: list-icons FILE [PNG]\n");
        return 2;
    }
    orvu_icons_file* file = NULL;
    if (orvu_icons_open(argv[1], &file) != ORVU_ICONS_OK) {
        fprintf(stderr, "%s: %s\n", argv[1], orvu_icons_last_message());
        return 1;
    }
    uint32_t count = 0;
    orvu_icons_count(file, &count);
    printf("%s: %u icons (liborvu-icons %s)\n", argv[1], (unsigned)count, orvu_icons_version());
    int failures = 0;
    for (uint32_t i = 0; i < count; ++i)
        failures += list_icon(file, i);
    if (argc == 3 && count > 0)
        failures += write_png(file, argv[2]);
    orvu_icons_close(file);
    return failures == 0 ? 0 : 1;
}

#!/usr/bin/env bash
# Plants realistic faults into a copy of the product, one at a time, and
# tells which the tests catch: each fault goes into a scratch checkout of HEAD
# (a git worktree), is built incrementally in one scratch build folder, and the
# tests but the Wine ones run against it (ctest -LE wine) until one fails.
# Not part of scripts/check.sh: it takes about a minute a fault.
#
#   scripts/plant-faults.sh                # every row of the table below
#   scripts/plant-faults.sh 'dib-*' mask-sense   # the rows these names or patterns match
#   scripts/plant-faults.sh --list         # the rows' names and what a user would see
#   scripts/plant-faults.sh --check        # only whether each row's text is in the working tree
#   scripts/plant-faults.sh --from REV     # plants into REV instead of HEAD
#   scripts/plant-faults.sh --remove       # deletes the scratch worktree and build
#
# --generate plants faults that a program makes (scripts/mutants.py says
# which) instead of the table's, in the same scratch tree and build:
#
#   scripts/plant-faults.sh --generate library/ 'cli/output.*'   # these files
#   scripts/plant-faults.sh --generate --base main               # the lines changed since main
#   scripts/plant-faults.sh --generate --list icons/animation.cpp  # only list them
#
# with --sample N (mutants to judge, default 50; 0: all), --seed S (which
# sample, default 1), --skip K (pass over the K mutants an earlier batch of
# that seed drew), --budget MINUTES (stop drawing after; default none),
# --kinds compare,logic,plus-one,constant,remove,swap, --judge all (after the
# tests that can see a mutant, run the rest of the suite too), and --min
# (default 80 here). It prints each mutant killed or SURVIVED with its file,
# line and change, and the share killed.
#
# --no-baseline skips the first run of the tree as it is; --min P sets the
# share caught below which the status is 1 (default 90); -j N the jobs
# (default 2). ORVU_PLANT_DIR is the scratch folder (default
# ${TMPDIR:-/tmp}/orvu-plant-faults), kept between runs so that each build
# recompiles only what a fault touched.
#
# Status 0 when every row was planted and built and at least P % were caught.
# A row whose text is no longer in its file, or is there more than once, is
# "stale" and fails the run: update its text or file as the code moves.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
self=$repo/scripts/$(basename "$0")

# The table. One row per fault:
#
#   NAME: what a user would see
#     FILE
#     - exact text now in FILE (once)
#     + what the fault puts in its place (a lone "+" deletes it)
#
# Text runs to the end of the line; "\n" stands for a line break (the
# indentation after it counts). Whenever a real bug is fixed, add a row that
# plants it back: the fixed text as "-", the bug as "+"; then run this
# script with the row's name and see it caught.
table() {
    cat <<'EOF'
extract-last-icon: extract --icon N refuses a file's last icon
  cli/extract_command.cpp
  - if (*selection.position <= count)
  + if (*selection.position < count)

extract-write-status: extract says it cannot write a file and still exits 0
  cli/extract_command.cpp
  - describe(written.result.failure()));\n                status = SomeInputsFailed;
  + describe(written.result.failure()));

extract-reference-name: extract Music.lnk names the icon it shows Music_2.ico, after the shortcut, not imageres_2.ico
  cli/extract_command.cpp
  - namesFor(group.kind).write(input.file.stem()
  + namesFor(group.kind).write(input.path.stem()

list-json-source: list --json says a shortcut's icons come from the shortcut itself
  cli/list_command.cpp
  -         json.string(source);
  +         json.string(path);

extract-unique-copies: extract --unique writes the copies of an icon as well
  cli/extract_command.cpp
  - first != writtenBySha256.end()) {
  + first == writtenBySha256.end()) {

hicolor-past-largest: extract --hicolor writes a 48-pixel icon blown up to 256 pixels
  export/icon_theme.cpp
  - if (size > largest)\n            break;
  + if (size > 2 * MaxShownSize)\n            break;

fingerprint-missing-image: list --fingerprints gives the images after a missing one their neighbours' SHA-256
  export/group_fingerprint.cpp
  - missing[image.position] = true;
  + missing[0] = !missing.empty();

best-image-shallow: best_image() gives a launcher the 8-bit image where a 32-bit one of the size is there
  icons/best_image.cpp
  - return std::make_tuple(0, 0LL, -image.bitCount);
  + return std::make_tuple(0, 0LL, image.bitCount);

usage-status: a wrong command line exits 1 (some inputs failed) instead of 2
  cli/main.cpp
  - tryHelp(command));\n        return UsageFailed;
  + tryHelp(command));\n        return SomeInputsFailed;

batch-saved-counter: saving many counts failed writes as saved, so saved + failed exceeds the total
  harvest/batch_export.cpp
  - if (written.result) {\n            ++outcome.saved;
  + ++outcome.saved;\n        if (written.result) {

export-name-counter: the second file of a name is app_1-1.ico, not app_1-2.ico
  export/export_names.cpp
  - base + "-" + std::to_string(counter))
  + base + "-" + std::to_string(counter - 1))

tile-numbers: tiles are numbered from 图标0
  harvest/tile_collection.cpp
  - Entry{stored, ++m_icons, 1, std::move(origin)}
  + Entry{stored, m_icons++, 1, std::move(origin)}

hide-repeats-count: with repeated icons hidden, a tile's caption doesn't say how many copies it stands for
  harvest/tile_collection.cpp
  - ++m_tiles[shown->second].copies;
  + m_tiles[shown->second].copies = 1;

hide-repeats-last-file: with repeated icons hidden, saving a tile and its details take the last file that held the icon
  harvest/tile_collection.cpp
  - ++m_tiles[shown->second].copies;
  + ++m_tiles[shown->second].copies;\n            m_tiles[shown->second].origin = std::move(origin);

plural-zero-singular: English says "Saved 0 icon." where it wants the plural
  texts/text.cpp
  - return n == 1 ? singular : plural;
  + return n <= 1 ? singular : plural;

plural-form-shifted: a language of several plural forms shows each number the next form
  texts/catalogue.cpp
  - for (unsigned long form = m_plural(n); form > 0; --form) {
  + for (unsigned long form = m_plural(n); form > 1; --form) {

cursor-file-tiles: a .cur or .ani file opened shows nothing unless cursors are included
  harvest/file_harvest.cpp
  - if (window.includesCursors())\n        return true;
  + return window.includesCursors();

cursor-own-format: saving many writes a cursor as .ico instead of .cur
  export/save_format.cpp
  - ? wholeFormatOf(kind) : chosen;
  + ? SaveFormat::Ico : chosen;

tile-sharp-lost: on a screen of two device pixels a pixel every tile shows its 32 x 32 cell blown up
  app/tile_list_model.cpp
  - if (sharp.state == TileCollection::SizedCell::State::Drawn) {
  + if (sharp.state == TileCollection::SizedCell::State::Unavailable) {

cell-size-rounding: on a screen of 1.49 device pixels a pixel tiles are drawn at 47 pixels, not 48
  app/tile_list_model.cpp
  - static_cast<int>(std::lround(CellSize * ratio))
  + static_cast<int>(CellSize * ratio)

list-errors-twice: in a terminal, list says each error twice, on standard output and standard error
  cli/list_command.cpp
  - const bool errorsInListing = outputAndErrorsShareATerminal();
  + const bool errorsInListing = false;

thumbnail-no-icons-message: the thumbnailer says "no such icon: icon 1" of a program that has no icons
  cli/thumbnail_command.cpp
  - if (icons && !icons->library.problem() && !shownGroup(icons->library, icons->icon)) {
  + if (false) {

json-control-escape: list --json writes a control character in a name as \u01: invalid JSON
  cli/json_writer.cpp
  - out += "\\u00";
  + out += "\\u";

anchor-after-arrow: click 1, Down, Shift+click 8 selects 1-8 instead of 6-8
  controls/list_view.cpp
  - m_anchor = currentIndex();
  + static_cast<void>(currentIndex());

replace-drops-mode: a replaced file (--force, save over, replace in a batch) loses its permissions
  platform/atomic_file.cpp
  - writeTemporary(target->path, bytes, mode, fs::exists(target->status));
  + writeTemporary(target->path, bytes, newFileMode(), fs::exists(target->status));

new-file-mode: new files (extract, save many, drag out) are readable by their owner only
  platform/atomic_file.cpp
  - O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  + O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);

dib-4bpp-nibbles: 16-colour icons are drawn with each pair of pixels swapped
  icons/dib_decoder.cpp
  - (x % 2 == 0 ? 4 : 0)
  + (x % 2 == 0 ? 0 : 4)

dib-1bpp-bits: 2-colour icons are drawn with each run of 8 pixels mirrored
  icons/dib_decoder.cpp
  - out[x] = lookUp((row[x / 8] >> (7 - x % 8)) & 1);
  + out[x] = lookUp((row[x / 8] >> (x % 8)) & 1);

dib-row-order: icons are drawn upside down
  icons/dib_decoder.cpp
  - static_cast<std::size_t>(height - 1 - static_cast<std::uint64_t>(y)) * colourStride,
  + static_cast<std::size_t>(y) * colourStride,

dhash-weights-truncated: list --fingerprints gives some programs another dhash than the sandboxes
  icons/difference_hash.cpp
  - static_cast<std::int32_t>(weight < 0 ? -0.5 + scaled : 0.5 + scaled));
  + static_cast<std::int32_t>(scaled));

dhash-grey-unrounded: the sandboxes' dhash and dhash32 differ where a grey level falls on a half
  icons/difference_hash.cpp
  - (r * 19595 + g * 38470 + b * 7471 + 0x8000) >> 16
  + (r * 19595 + g * 38470 + b * 7471) >> 16

dhash-bit-order: every dhash has each byte's bits mirrored
  icons/difference_hash.cpp
  - static_cast<std::uint8_t>(1u << column);
  + static_cast<std::uint8_t>(0x80u >> column);

sandbox-choice-strict: a program whose icon lists two images alike gets the dhash of the first, not the last
  icons/sandbox_icon_hash.cpp
  - (candidate.width >= best.width && candidate.height >= best.height &&
  + (candidate.width > best.width && candidate.height >= best.height &&

pillow-16bit-rounded: programs with 16-bit icons get another dhash than the sandboxes
  icons/pillow_icon_image.cpp
  - return value * 255 / most; };
  + return (value * 255 + most / 2) / most; };

pillow-mask-unchecked: a program whose icon's byte count runs past its image gets a dhash where the sandboxes give none
  icons/pillow_icon_image.cpp
  - if (maskAt < 0 || maskAt > fileEnd || fileEnd - maskAt < needed)
  + if (maskAt < 0 || maskAt > fileEnd || fileEnd < needed)

png-samples-rounded: programs whose icon is a 16-bit PNG get another dhash than the sandboxes
  png/libpng_decoder.cpp
  - png_set_strip_16(png);
  + png_set_scale_16(png);

alpha-rounding: half-transparent pixels are drawn a level darker than Windows draws them
  icons/icon_drawing.cpp
  - (source * alpha + 127) / 255;
  + (source * alpha) / 255;

mask-sense: old icons show black where they are transparent and the background where they are not
  icons/icon_drawing.cpp
  - mask[x] ? 0xFFFFFFu : 0u;
  + mask[x] ? 0u : 0xFFFFFFu;

scaling-rounding: shrunk pictures (thumbnails, large icons in a tile) are a level too dark
  icons/icon_scaling.cpp
  - static_cast<std::uint32_t>((red + alpha / 2) / alpha) << 16
  + static_cast<std::uint32_t>(red / alpha) << 16

zero-means-256: 256 x 256 images count as 0 pixels wide: the wrong image is shown and saved
  icons/icon_group.h
  - return width == 0 && height == 0 ? 256 : width;
  + return width;

choice-size-tie: of two images equally near 32 x 32, the last is shown instead of the first
  icons/image_choice.cpp
  - if (dx + dy < bestSum) {
  + if (dx + dy <= bestSum) {

choice-depth-tie: of images of the same size and depth, the last is shown instead of the first
  icons/image_choice.cpp
  - if (depthGap < bestDepthGap) {
  + if (depthGap <= bestDepthGap) {

choice-distance-overflow: an animated cursor whose frame holds a PNG claiming 2^31 - 1 pixels a side beside a good image can't be drawn
  icons/image_choice.cpp
  - const std::int64_t dx = distance(key.width, size);\n        const std::int64_t dy = distance(key.height, size);
  + const int dx = static_cast<int>(distance(key.width, size));\n        const int dy = static_cast<int>(distance(key.height, size));

largest-deepest: the PNG of an icon is its largest image in its fewest colours
  icons/image_choice.cpp
  - image.bitCount > best.bitCount
  + image.bitCount < best.bitCount

largest-by-directory: the PNG, copy and thumbnail of a Delphi or Inno Setup program are its 48 x 48 image, not its 256 x 256 PNG listed as 13 x 0
  icons/image_choice.cpp
  - if (header.pixels == 0)\n        return listed;
  + if (true)\n        return listed;

request-budget: a launcher that keeps a file open can't draw its icon a 513th time at 256 pixels
  icons/icon_library.cpp
  - m_source->startRequest();\n    m_pixelsDecoded = 0;
  + m_source->startRequest();

section-mapping: programs whose resources don't sit at their address in the file show no icons
  icons/pe_resources.cpp
  - return std::uint64_t{section.rawOffset} + (rva - section.virtualAddress);
  + return std::uint64_t{rva};

pe32-plus-directories: 64-bit programs show no icons
  icons/pe_resources.cpp
  - dataDirectory = optionalHeader + OptionalHeader::DataDirectoryPe32Plus;
  + dataDirectory = optionalHeader + OptionalHeader::DataDirectoryPe32;

ne-shift: 16-bit programs whose resources are aligned show broken icons
  icons/ne_resources.cpp
  - Resource{std::uint64_t{*name.u16(NameInfo::Offset)} << shift,
  + Resource{std::uint64_t{*name.u16(NameInfo::Offset)},

mui-resource-unseen: Windows 10's shell32.dll and imageres.dll show no icons: the .mun beside them is never read
  icons/pe_resources.cpp
  -     result->m_muiResource = hasMuiType(source, *root);
  +

reference-first-comma: a file named "a,b.dll,3" is read as icon b.dll,3 of a
  icons/icon_location.cpp
  - const std::size_t comma = text.rfind(',');
  + const std::size_t comma = text.find(',');

reference-index-from-one: shell32.dll,1 shows the first icon instead of the second
  icons/icon_location.cpp
  -             return static_cast<std::uint32_t>(number);
  +             return static_cast<std::uint32_t>(number - 1);

variables-expanded-again: variables that name each other (A=%B%, B=%A%) crash the reader
  icons/icon_location.cpp
  -             expanded += *value;
  +             if (auto again = expandVariables(*value, lookup))\n                expanded += *again;

lnk-string-bytes: a shortcut's Unicode strings are read as half their length: its icon file is a stub of a name
  icons/shell_link.cpp
  - std::uint64_t{*count} * (unicode ? 2 : 1)
  + std::uint64_t{*count}

lnk-windows7-names: a shortcut written by Windows 7 names its target by a broken long name
  icons/shell_link.cpp
  -     return version >= 9 ? 46 : version == 8 ? 42 : version == 7 ? 38 : 20;
  +     return version >= 9 ? 46 : version == 8 ? 38 : version == 7 ? 38 : 20;

lnk-icon-order: a shortcut with an icon environment block shows its plain icon location's icon first
  icons/shell_link.cpp
  - {&iconEnvironment, &iconLocation}
  + {&iconLocation, &iconEnvironment}

writer-offsets: saved .ico files point 2 bytes per image short of their images
  icons/icon_file_writer.cpp
  - IconDirectory::HeaderSize + images.size() * IconDirectoryEntry::FileEntrySize;
  + IconDirectory::HeaderSize + images.size() * IconDirectoryEntry::ResourceEntrySize;

cur-doubled-height: a cursor saved from a program claims twice its height in its .cur directory
  icons/icon_file_writer.cpp
  - file.push_back(sizeByte(entry.pixelHeight()));
  + file.push_back(sizeByte(2 * entry.pixelHeight()));

ani-sequence-past-steps: an animated cursor whose sequence is longer than its header's steps plays the extra steps
  icons/animation.cpp
  - stepCount = std::min<std::uint64_t>(stepCount, sequence->size / 4);
  + stepCount = sequence->size / 4;

ani-header-last: an animated cursor whose sequence and rates come before its header plays its frames in order at one rate
  icons/animation.cpp
  - if (!header && tagged(bytes, at, HeaderTag))
  + if (!header || tagged(bytes, at, HeaderTag))

read-to-the-end: an icon whose last image ends where its file ends reads as damaged
  icons/byte_source.cpp
  - if (offset > m_size || length > m_size - offset)
  + if (offset > m_size || length >= m_size - offset)

folder-sort: a folder's files are harvested in byte order (Zeta.exe before alpha.exe)
  platform/folder_listing.cpp
  - return byKey != 0 ? byKey < 0 : names[a] < names[b];
  + return names[a] < names[b];

scan-case-rule: a folder harvest passes over app.exe when looking for *.exe
  platform/like_pattern.cpp
  - likeMatch(toUpper(decodeUtf8Lenient(name)), m_upperPattern);
  + likeMatch(decodeUtf8Lenient(name), m_upperPattern);

name-case-rule: App_1.ico and app_1.ico count as different names, so one replaces the other on a disk that ignores case
  platform/text_case.cpp
  - key += static_cast<char>(toUpper(static_cast<char32_t>(c)));
  + key += c;

windows-root-escape: C:\..\..\etc under a Windows root reaches above the root
  platform/windows_paths.cpp
  -             } else if (!floor) {
  +             } else {

shortcut-loop-unseen: a shortcut to itself is followed eight times and reported as too deep, not as a loop
  platform/icon_reference.cpp
  -         if (std::find(m_followed.begin(), m_followed.end(), key) != m_followed.end())
  +         if (m_followed.size() > limits::MaxReferenceDepth)

pattern-range: --pattern '[a-c]*' passes over the files that start with a
  platform/like_pattern.cpp
  - if (c >= list[i] && c <= list[i + 2])
  + if (c > list[i] && c <= list[i + 2])

thumbnail-choice: a 48-pixel thumbnail is shrunk from the 256 x 256 image instead of taking the 48 x 48 one
  icons/image_choice.cpp
  - const bool covers = side >= size;
  + const bool covers = side > size;

thumbnail-rank-overflow: a cursor whose directory claims 65 535 pixels a side makes the thumbnailer's ranking overflow: it tries a smaller claim first
  icons/image_choice.cpp
  - -std::int64_t{image.width} * image.height, -image.bitCount);
  + -(image.width * image.height), -image.bitCount);

uri-escape-at-end: a file whose URI ends in an escape (a name ending in a space or a Chinese letter) gets no thumbnail
  cli/file_uri.cpp
  - const int high = i + 2 < encoded.size()
  + const int high = i + 3 < encoded.size()
thumbnail-not-in-place: Thunar shows no thumbnails: the output tumbler made and reads back is replaced by a new file
  platform/file_in_place.cpp
  - Result<void> result = checkTarget(fd, source);
  + ::close(fd);\n        return replaceFileAtomically(path, bytes);\n        Result<void> result = checkTarget(fd, source);

thumbnail-over-input: thumbnail a.exe a.exe (or through a hard link) writes the picture over the program
  platform/file_in_place.cpp
  - if (::stat(source.c_str(), &from) == 0 && from.st_dev == target.st_dev &&
  + if (false && ::stat(source.c_str(), &from) == 0 && from.st_dev == target.st_dev &&

thumbnail-over-shortcut: thumbnail Word.lnk Word.lnk writes the picture over the shortcut
  cli/thumbnail_command.cpp
  -     const bool isInput = !std::filesystem::is_symlink(outputPath, error) &&
  +     const bool isInput = false &&

thumbnail-keeps-tail: a thumbnail written over a longer old one keeps the old file's tail after its end
  platform/file_in_place.cpp
  - if (::ftruncate(fd, 0) != 0)
  + if (false)

thumbnail-follows-link: a link at thumbnail's output is followed, and the file it names written over
  platform/file_in_place.cpp
  - O_WRONLY | O_NOFOLLOW | O_NONBLOCK
  + O_WRONLY | O_NONBLOCK

thumbnail-full-disk: a full disk leaves the start of a picture in the file manager's cache
  platform/file_in_place.cpp
  - if (!written)\n        static_cast<void>(::ftruncate(fd, 0));
  + if (false)\n        static_cast<void>(::ftruncate(fd, 0));

thumbnail-damaged-png: a stored PNG with a wrong checksum or no end becomes a thumbnail the file managers can't read
  cli/thumbnail_command.cpp
  - if (isWholePng(ByteView(image->bytes)))
  + if (isPng(ByteView(image->bytes)))

raw-names-on-stderr: a file name's escape sequence retitles the terminal when the tool complains about it
  cli/output.cpp
  - line += printable(message);
  + line += message;

list-lines-late: list into a pipe writes its lines only at its end, after every error of standard error
  cli/output.cpp
  - if (m_error == 0 && std::fflush(stdout) != 0)
  + if (m_error == 1 && std::fflush(stdout) != 0)

extract-reads-its-output: extract --pattern '*' -o OUT DIR, OUT inside DIR, extracts its own fresh .ico files again
  cli/file_walk.cpp
  - walk.passOver(*passOver);
  + walk.passOver(step->folder);

python-strided-data: IconFile(data=...) of a reversed or stepped view parses the wrong bytes, or reads past its buffer
  python/objects.cpp
  - PyMemoryView_GetContiguous(data->ptr(), PyBUF_READ, 'C'));
  + PyMemoryView_FromObject(data->ptr()));

python-new-refused: Icon.__new__(Icon) makes an icon whose repr, id, images or draw() crash the interpreter
  python/module.cpp
  - py::class_<Icon>(module, "Icon", madeByIconFile,
  + py::class_<Icon>(module, "Icon",

python-init-not-called: an IconFile made by __new__ without __init__ crashes the interpreter
  python/module.cpp
  - if (!made(self))\n        throw py::type_error("IconFile.__init__() was not called: the object holds no file");
  +

python-gil-at-exit: the interpreter aborts at exit while daemon threads are inside calls
  python/objects.h
  - PyThreadState* const state = PyEval_SaveThread();\n    std::optional<decltype(call())> result;\n    try {\n        result.emplace(call());\n    } catch (...) {\n        retakeGil(state);\n        throw;\n    }\n    retakeGil(state);\n    return std::move(*result);
  + pybind11::gil_scoped_release unlocked;\n    return call();

compat-damaged-icon: the drop-in's get_icon of an icon whose data lies outside the file is no pefile.PEFormatError
  python/orvu_icons/compat.py
  - raise DamagedIconError(str(error)) from None
  + raise InvalidIconDefinitionError(str(error)) from None

compat-data-header: the drop-in takes an executable without icons, given as rows of an array, for a file of another kind
  python/orvu_icons/compat.py
  - head = view.cast("B")[:2] if view.c_contiguous else view.tobytes()[:2]
  + head = view[:2]

instance-in-shared-folder: without a runtime folder, another user's lock and socket in /tmp receive the path opened and keep the window from starting
  qt/single_instance.cpp
  - return ownedPrivately(own) ? own : QString();
  + return QDir::tempPath();

dialog-above-screen: the file, folder and save dialogs open with their title bars above the top of the screen
  qt/dialog_placement.cpp
  - new Placer(dialog, *owner);
  + static_cast<void>(dialog);

opened-path-as-text: orvu-icons with a name that is not UTF-8 shows the name but Start can't find the file
  harvest/harvest_controller.cpp
  - .run(m_sources.file, m_sources.folder);
  + .run(displayText(m_sources.file), m_sources.folder);

include-cursors-stale: turning "include cursors" or "hide repeated icons" on changes nothing until the file is picked again
  harvest/harvest_controller.cpp
  - if (harvested)\n        start();
  + static_cast<void>(harvested);

window-shortcut-status-stale: after a shortcut's icon, the status line still names its file while another program's icons show
  harvest/harvest_controller.cpp
  - if (m_statusNamesSource)\n        showStatus
  + if (m_statusNamesSource && m_sources.file.empty())\n        showStatus

window-shortcut-icon: a shortcut picked in the window shows its file's first icon, not the one it names
  harvest/start_command.cpp
  -                           index};
  +                           0};

window-shortcut-drive: a shortcut on a Wine prefix's drive, picked in the window, can't be followed
  harvest/shortcut_source.cpp
  - const WindowsPaths paths(windowsDriveAbove(file));
  + const WindowsPaths paths;

replace-question-without-cancel: Esc at "replace them?" saves every file again under new names
  harvest/harvest_controller_tiles.cpp
  - messages::replaceExistingFiles(taken), true)
  + messages::replaceExistingFiles(taken), false)

hide-repeats-menu: "hide repeated icons" in the tile menu ticks and changes nothing
  app/main_window.cpp
  - [flows](bool hide) { flows->setHidesRepeats(hide); });
  + [](bool) {});

details-save-unshown: the details' save button of an image that can't be shown asks where to save it and then fails
  app/image_sheet.cpp
  - if (buttonAt(event->position().toPoint()) == pressed && canSave(*pressed))
  + if (buttonAt(event->position().toPoint()) == pressed)

english-tip: the about window's picture shows an English tip in the Chinese window
  app/about_window.cpp
  - c.picture->setObjectName(QStringLiteral("picture"));
  + c.picture->setObjectName(QStringLiteral("picture"));\n    c.picture->setToolTip(QStringLiteral("About the program"));

cur-hotspot-lost: a cursor saved as .cur points with its top-left corner instead of its hotspot
  icons/icon_file_writer.cpp
  - appendU16(file, static_cast<std::uint16_t>(hotspot.x));
  + appendU16(file, 0);

png-hotspot-inverted: a cursor's PNG lacks its hotspot, and an icon's PNG claims one
  export/icon_export.cpp
  - group.kind != GroupKind::Icon ? image.entry.hotspot
  + group.kind == GroupKind::Icon ? image.entry.hotspot

system-reason-in-english: the Chinese window says why a file can't be read in the system's English ("No such file or directory")
  harvest/messages.cpp
  - return systemReason(failure);
  + return failure.detail;

library-referenced-icon: orvu_icons_referenced_icon says a shortcut named no icon
  library/file_calls.cpp
  -     handle->referencedIcon = referencedIcon;
  +

library-struct-size: the C library writes an image's description past the struct_size its caller gave
  library/icon_calls.cpp
  - const size_t fits = std::min(size, sizeof info);
  + const size_t fits = sizeof info;

library-past-end-status: the C library answers an image index past the end with ORVU_ICONS_DAMAGED
  library/picture_calls.cpp
  - return {Failure::Kind::NoSuchIcon,
  + return {Failure::Kind::Damaged,

save-without-extension: a tile saved as "menu" with the .ico type chosen is written without its extension
  harvest/icon_save.cpp
  - path += extensionOf(format);
  + path += "";
EOF
}

# The rows as NAME, FILE, TEXT, REPLACEMENT, EFFECT, each field on a line
# of its own (texts never hold a line break: "\n" is expanded when applied).
rows() {
    table | awk '
        function flush() { if (name != "") print name "\n" file "\n" text "\n" with "\n" effect; name = "" }
        /^[^ ]/ { flush(); i = index($0, ": "); name = substr($0, 1, i - 1); effect = substr($0, i + 2); file = text = with = ""; next }
        /^  - / { text = substr($0, 5); next }
        /^  \+ / { with = substr($0, 5); next }
        /^  \+$/ { with = ""; next }
        /^  [^-+ ]/ { file = substr($0, 3); next }
        END { flush() }'
}

# Puts the fault into the file, or with --check only looks for its text:
# 0 done, 3 text not found, 4 found more than once.
plant() {
    python3 - "$1" "$2" "$3" "$check" <<'PYTHON'
import sys
path, text, replacement = sys.argv[1], sys.argv[2].replace("\\n", "\n"), sys.argv[3].replace("\\n", "\n")
try:
    with open(path, encoding="utf-8") as f:
        content = f.read()
except FileNotFoundError:
    sys.exit(3)
found = content.count(text)
if found != 1:
    sys.exit(3 if found == 0 else 4)
if sys.argv[4] == "1":
    sys.exit(0)
with open(path, "w", encoding="utf-8") as f:
    f.write(content.replace(text, replacement))
PYTHON
}

# Why a row can't be planted, from plant's status.
stale_reason() {
    if [ "$1" = 4 ]; then echo "text found more than once in $2"; else echo "text not found in $2"; fi
}

build_it() { cmake --build "$build" -j "$jobs" >"$1" 2>&1; }

# Runs the tests until the first failure: 0 when they all pass. Those that
# took 10 s or more in an earlier run go last (ctest itself starts the
# longest first), so that a quick test that fails ends the run early.
test_it() {
    local slow
    slow=$(awk '$1 == "---" { exit } NF == 3 && $3 >= 10 { gsub(/\./, "\\.", $1); print $1 }' \
               "$build/Testing/Temporary/CTestCostData.txt" 2>/dev/null | paste -sd'|')
    if [ -z "$slow" ]; then
        ctest --test-dir "$build" -LE wine -j "$jobs" --timeout 300 --stop-on-failure >"$1" 2>&1
        return
    fi
    ctest --test-dir "$build" -LE wine -E "^($slow)\$" -j "$jobs" --timeout 300 \
          --stop-on-failure >"$1" 2>&1 &&
        ctest --test-dir "$build" -LE wine -R "^($slow)\$" -j "$jobs" --timeout 300 \
              --stop-on-failure >>"$1" 2>&1
}

# The first test that failed in the last run.
first_failure() {
    local failed=$build/Testing/Temporary/LastTestsFailed.log
    [ -s "$failed" ] && head -n 1 "$failed" | cut -d: -f2- | sed "s/  # GetParam().*//" || echo "?"
}

# Wholly read before it runs, so that editing the script can't change a run.
main() {
    jobs=2
    min=90
    rev=HEAD
    baseline=1
    list=0
    check=0
    remove=0
    patterns=()
    generate=0
    generated=()
    while [ $# -gt 0 ]; do
        case $1 in
            --generate) generate=1; min=80 ;;
            --base|--sample|--seed|--skip|--budget|--kinds|--judge|--timeout)
                generated+=("$1" "$2"); shift ;;
            --list) list=1 ;;
            --check) check=1 ;;
            --no-baseline) baseline=0 ;;
            --remove) remove=1 ;;
            --from) rev=$2; shift ;;
            --min) min=$2; shift ;;
            -j) jobs=$2; shift ;;
            -h|--help) sed -n '2,/^set -euo/p' "$self" | sed '$d' | sed 's/^# \{0,1\}//'; exit 0 ;;
            -*) echo "plant-faults.sh: unknown option $1 (try --help)" >&2; exit 2 ;;
            *) patterns+=("$1") ;;
        esac
        shift
    done

    if [ "$generate" = 1 ] && [ "$list" = 1 ]; then
        exec python3 "$repo/scripts/mutants.py" --source "$repo" --list "${generated[@]}" \
            -- "${patterns[@]}"
    fi

    names=() files=() texts=() withs=() effects=()
    while IFS= read -r name && IFS= read -r file && IFS= read -r text && IFS= read -r with &&
          IFS= read -r effect; do
        wanted=$((${#patterns[@]} == 0))
        for pattern in "${patterns[@]}"; do
            # shellcheck disable=SC2053 # the pattern is meant to match as a pattern
            [[ $name == $pattern ]] && wanted=1
        done
        [ "$wanted" = 1 ] || continue
        names+=("$name") files+=("$file") texts+=("$text") withs+=("$with") effects+=("$effect")
    done < <(rows)

    if [ "$check" = 1 ]; then
        stale=0
        for i in "${!names[@]}"; do
            status=0
            plant "$repo/${files[$i]}" "${texts[$i]}" "${withs[$i]}" || status=$?
            if [ "$status" != 0 ]; then
                printf 'stale   %-24s %s\n' "${names[$i]}" "$(stale_reason "$status" "${files[$i]}")"
                stale=$((stale + 1))
            fi
        done
        echo "== $stale of ${#names[@]} rows stale"
        [ "$stale" -eq 0 ]
        exit
    fi

    if [ "$list" = 1 ]; then
        for i in "${!names[@]}"; do
            printf '%-24s %s\n' "${names[$i]}" "${effects[$i]}"
        done
        exit 0
    fi

    scratch=${ORVU_PLANT_DIR:-${TMPDIR:-/tmp}/orvu-plant-faults}
    source=$scratch/source
    build=$scratch/build
    logs=$scratch/logs

    if [ "$remove" = 1 ]; then
        if [ -d "$source" ]; then
            git -C "$repo" worktree remove --force "$source"
        fi
        rm -rf "$scratch"
        exit 0
    fi

    if [ ${#names[@]} -eq 0 ] && [ "$generate" = 0 ]; then
        echo "plant-faults.sh: no row is named ${patterns[*]} (see --list)" >&2
        exit 2
    fi

    commit=$(git -C "$repo" rev-parse --verify "$rev^{commit}")
    mkdir -p "$scratch" "$logs"
    if ! git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
        rm -rf "$source"
        git -C "$repo" worktree prune
        git -C "$repo" worktree add --quiet --detach "$source" "$commit"
    fi
    # Only files that differ are written, so the build stays incremental.
    git -C "$source" checkout --quiet --force --detach "$commit"
    git -C "$source" clean --quiet -fdx

    launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DORVU_BUILD_TESTS=ON -DORVU_BUILD_BENCHMARKS=OFF -DORVU_WINE_TESTS=OFF \
          "${launcher[@]}" >"$logs/configure.log" 2>&1 ||
        { echo "plant-faults.sh: cmake failed, see $logs/configure.log" >&2; exit 1; }

    if [ "$baseline" = 1 ]; then
        echo "== the tree as it is ($(git -C "$source" log -1 --format='%h %s' | cut -c1-60))"
        build_it "$logs/baseline.build.log" ||
            { echo "plant-faults.sh: it does not build, see $logs/baseline.build.log" >&2; exit 1; }
        if ! test_it "$logs/baseline.test.log"; then
            echo "plant-faults.sh: its tests fail already ($(first_failure)), see $logs/baseline.test.log" >&2
            exit 1
        fi
    fi

    if [ "$generate" = 1 ]; then
        python3 "$repo/scripts/mutants.py" --source "$source" --build "$build" --logs "$logs" \
            -j "$jobs" --min "$min" "${generated[@]}" -- "${patterns[@]}"
        exit
    fi

    caught=0 missed=0 broken=0
    missed_rows=() broken_rows=()
    echo "== ${#names[@]} planted faults, one at a time"
    for i in "${!names[@]}"; do
        name=${names[$i]} file=${files[$i]}
        started=$SECONDS
        status=0
        plant "$source/$file" "${texts[$i]}" "${withs[$i]}" || status=$?
        if [ "$status" != 0 ]; then
            printf 'stale   %-24s %s\n' "$name" "$(stale_reason "$status" "$file")"
            broken=$((broken + 1)) broken_rows+=("$name")
            continue
        fi
        if ! build_it "$logs/$name.build.log"; then
            printf 'broken  %-24s does not build, see %s\n' "$name" "$logs/$name.build.log"
            broken=$((broken + 1)) broken_rows+=("$name")
        elif test_it "$logs/$name.test.log"; then
            printf 'MISSED  %-24s %s (%ds)\n' "$name" "${effects[$i]}" $((SECONDS - started))
            missed=$((missed + 1)) missed_rows+=("$name")
        else
            printf 'caught  %-24s by %s (%ds)\n' "$name" "$(first_failure)" $((SECONDS - started))
            caught=$((caught + 1))
        fi
        git -C "$source" checkout --quiet -- "$file"
    done

    planted=$((caught + missed))
    share=0
    [ "$planted" -gt 0 ] && share=$((100 * caught / planted))
    echo "== caught $caught of $planted planted faults ($share %)"
    [ "$missed" -gt 0 ] && echo "   missed: ${missed_rows[*]}"
    [ "$broken" -gt 0 ] && echo "   stale or not building, to update: ${broken_rows[*]}"
    # Leaves the scratch build as the tree is, for the next run.
    build_it "$logs/restore.build.log" || true
    [ "$broken" -eq 0 ] && [ "$share" -ge "$min" ]
}

main "$@"
exit

#!/usr/bin/env python3
"""Links the program so that no DLL is loaded before its first instruction except the
KnownDLLs it keeps as static imports (CMake runs this as the link launcher of the program;
see harden_program in runtime/CMakeLists.txt):

    harden_link.py --nm NM --dlltool DLLTOOL --entry SYMBOL --work DIR -- LINK COMMAND...

1. The link command runs as given; the static imports of its output are read.
2. For every imported DLL but the kept ones (kernel32.dll, msvcrt.dll), a delay-import
   library of exactly the functions used is made (dlltool), and the link runs again with
   those libraries first and each function's thunk asked for by name (-u): without that,
   ld drops the thunk of a function that is called through its __imp_ pointer, and the
   delayed pointer would point at nothing. The C runtime's delay-load helper then loads
   each DLL by name at its first call, after the program's entry has restricted the search
   to the system folder.
3. The load-configuration directory is pointed at the program's _load_config_used (ld 2.40
   does not do it), so that its DependentLoadFlags take effect, and the PE checksum, which
   ld wrote for the unpatched file, is computed again.
4. The result is read back and checked (check_hardened): only kept static imports, the
   entry point at SYMBOL, a load configuration in raw section data whose Size covers
   DependentLoadFlags and whose flags are LOAD_LIBRARY_SEARCH_SYSTEM32, every delayed
   import's address slot pointing at its load thunk in .text, and a correct checksum.
   Any fault stops the build with one line on stderr.
Both word sizes: the shipped PE32 program and its PE32+ twin.
"""

import argparse
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pe_image  # noqa: E402

KEPT = ("kernel32.dll", "msvcrt.dll")
# Symbols as the link map names them: without the leading underscore of i386 C names.
LOAD_CONFIG_SYMBOL = "_load_config_used"
LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800


class LinkError(Exception):
    pass


def run(command, what, cwd=None):
    result = subprocess.run(command, capture_output=True, text=True, cwd=cwd)
    if result.returncode != 0:
        sys.stderr.write(result.stdout + result.stderr)
        raise LinkError(f"{what} failed ({result.returncode})")
    return result.stdout


def output_of(command):
    for i, argument in enumerate(command):
        if argument == "-o" and i + 1 < len(command):
            return command[i + 1]
        if argument.startswith("-o") and len(argument) > 2:
            return argument[2:]
    raise LinkError("the link command names no output (-o)")


def c_prefix(image):
    """The prefix of C names in object files: "_" for i386, none for x86-64."""
    return "" if image.is_64bit else "_"


def decorated_names(compiler, nm, dll, prefix):
    """{exported name: decorated symbol without the C prefix} of the toolchain's import
    library for dll, e.g. "CreateWindowExA" -> "CreateWindowExA@48" (i386) or
    "CreateWindowExA" (x86-64, undecorated)."""
    library = run([compiler, f"-print-file-name=lib{dll[:-4].lower()}.a"], "looking up an import library").strip()
    if not os.path.isabs(library):
        raise LinkError(f"the toolchain has no import library for {dll}")
    names = {}
    for line in run([nm, library], f"listing {library}").splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[1] == "T" and fields[2].startswith(prefix):
            symbol = fields[2][len(prefix):]
            names.setdefault(symbol.split("@")[0], symbol)
    return names


def delay_arguments(image, compiler, nm, dlltool, work):
    """The arguments that make every import of a non-kept DLL a delayed one."""
    arguments = []
    prefix = c_prefix(image)
    for dll, functions in sorted(image.imports().items(), key=lambda item: item[0].lower()):
        if dll.lower() in KEPT:
            continue
        names = decorated_names(compiler, nm, dll, prefix)
        symbols = []
        for function in functions:
            if function not in names:
                raise LinkError(f"{dll}!{function} cannot be delay-loaded (imported by ordinal or as data)")
            symbols.append(names[function])
        stem = dll[:-4].lower()
        definition = os.path.join(work, stem + ".def")
        with open(definition, "w") as f:
            f.write(f"LIBRARY {dll}\nEXPORTS\n" + "".join(s + "\n" for s in symbols))
        library = os.path.join(work, f"libdelayed_{stem}.a")
        # dlltool names the library's members and symbols after the output path and its
        # temporary prefix: both are given relative and fixed, so that no build folder
        # reaches the program (a reproducible build).
        run([dlltool, "--kill-at", "--input-def", os.path.basename(definition),
             "--output-delaylib", os.path.basename(library), "--temp-prefix", f"delayed_{stem}"],
            f"making the delay-import library of {dll}", cwd=work)
        # Named relative to the link's folder: ld orders import sections by the path of the
        # file they come from, so an absolute path would make the layout depend on where the
        # tree is built (before or after the toolchain's own libraries).
        arguments += [f"-Wl,-u,{prefix}{s}" for s in symbols] + [os.path.relpath(library)]
    return arguments


def symbol_address(map_text, symbol):
    match = re.search(r"^\s+0x([0-9a-f]+)\s+" + re.escape(symbol) + r"$", map_text, re.MULTILINE)
    return int(match.group(1), 16) if match else None


def delay_descriptors(map_text, image):
    """The RVAs of the delay-import descriptors the link map names (dlltool's
    __DELAY_IMPORT_DESCRIPTOR_<library>), in address order."""
    addresses = re.findall(r"^\s+0x([0-9a-f]+)\s+_*DELAY_IMPORT_DESCRIPTOR_\S+$", map_text, re.MULTILINE)
    return sorted(int(a, 16) - image.image_base for a in addresses)


def check_hardened(image, descriptors, delayed_dlls):
    """The faults of a linked program read back from its file: [] when it is hardened.
    descriptors: the RVAs of its delay-import descriptors; delayed_dlls: how many DLLs the
    link delayed."""
    faults = []
    still = sorted(dll for dll in image.imports() if dll.lower() not in KEPT)
    if still:
        faults.append(f"still imports {', '.join(still)} at start-up")
    try:
        config = image.load_config()
    except pe_image.ImageError as e:
        faults.append(f"the load configuration is not in the file's data ({e})")
    else:
        end = image.form.dependent_load_flags_offset + 2
        if config is None:
            faults.append("no load configuration")
        elif config[0] < end:
            faults.append(f"the load configuration's Size {config[0]} does not cover DependentLoadFlags")
        elif image.directory(pe_image.LOAD_CONFIG_DIRECTORY)[1] < end:
            faults.append("the load-configuration directory's size does not cover DependentLoadFlags")
        elif config[1] != LOAD_LIBRARY_SEARCH_SYSTEM32:
            faults.append(f"DependentLoadFlags read {config[1]:#x}, not {LOAD_LIBRARY_SEARCH_SYSTEM32:#x}")
    try:
        delayed = image.delay_imports(descriptors)
        if len(delayed) != delayed_dlls:
            faults.append(f"{len(delayed)} delay-import descriptors for {delayed_dlls} delayed DLLs")
        for dll, slots in delayed.items():
            for function, target in slots:
                if image.section_of(target) != ".text":
                    faults.append(f"the delayed {dll}!{function} points at {target:#x}, not at a load thunk in .text")
    except pe_image.ImageError as e:
        faults.append(f"the delayed imports cannot be read ({e})")
    if image.stored_checksum() != image.computed_checksum():
        faults.append(f"the checksum is {image.stored_checksum():#x}, the file sums to {image.computed_checksum():#x}")
    return faults


def main(argv=None):
    parser = argparse.ArgumentParser()
    parser.add_argument("--nm", required=True)
    parser.add_argument("--dlltool", required=True)
    parser.add_argument("--entry", required=True, help="the entry function as the link map names it")
    parser.add_argument("--work", required=True, help="folder for the generated libraries and map")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args(argv)
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    output = None
    try:
        if not command:
            raise LinkError("no link command given")
        os.makedirs(args.work, exist_ok=True)
        output = output_of(command)
        run(command, "the link")
        first = pe_image.read(output)
        delayed_dlls = sum(1 for dll in first.imports() if dll.lower() not in KEPT)
        delayed = delay_arguments(first, command[0], args.nm, args.dlltool, args.work)
        link_map = os.path.join(args.work, "program.map")
        run([command[0]] + delayed + [f"-Wl,-Map,{link_map}"] + command[1:], "the link with delayed imports")

        image = pe_image.read(output)
        with open(link_map) as f:
            map_text = f.read()
        entry = symbol_address(map_text, args.entry)
        if entry is None or entry - image.image_base != image.entry_point:
            raise LinkError(f"{output} does not start at {args.entry}: link the program entry with -e")
        config = symbol_address(map_text, LOAD_CONFIG_SYMBOL)
        if config is None:
            raise LinkError(f"{output} has no {LOAD_CONFIG_SYMBOL}: link the program entry")
        rva = config - image.image_base
        size = int.from_bytes(image.data[image.offset(rva, 4):image.offset(rva, 4) + 4], "little")
        image.set_directory(pe_image.LOAD_CONFIG_DIRECTORY, rva, size)
        image.update_checksum()
        with open(output, "wb") as f:
            f.write(image.data)
        faults = check_hardened(pe_image.read(output), delay_descriptors(map_text, image), delayed_dlls)
        if faults:
            raise LinkError(f"{output}: " + "; ".join(faults))
    except (LinkError, pe_image.ImageError, OSError) as e:
        print(f"harden_link: error: {e}", file=sys.stderr)
        # A program that failed its checks must not look built to the next make.
        if output and os.path.exists(output):
            os.remove(output)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

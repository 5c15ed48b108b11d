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
   does not do it), so that its DependentLoadFlags take effect.
4. The result is checked: only kept static imports, the entry point at SYMBOL, a load
   configuration. Any fault stops the build with one line on stderr.
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


def decorated_names(compiler, nm, dll):
    """{exported name: decorated symbol without its leading underscore} of the toolchain's
    import library for dll, e.g. "CreateWindowExA" -> "CreateWindowExA@48"."""
    library = run([compiler, f"-print-file-name=lib{dll[:-4].lower()}.a"], "looking up an import library").strip()
    if not os.path.isabs(library):
        raise LinkError(f"the toolchain has no import library for {dll}")
    names = {}
    for line in run([nm, library], f"listing {library}").splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[1] == "T" and fields[2].startswith("_"):
            symbol = fields[2][1:]
            names.setdefault(symbol.split("@")[0], symbol)
    return names


def delay_arguments(image, compiler, nm, dlltool, work):
    """The arguments that make every import of a non-kept DLL a delayed one."""
    arguments = []
    for dll, functions in sorted(image.imports().items(), key=lambda item: item[0].lower()):
        if dll.lower() in KEPT:
            continue
        names = decorated_names(compiler, nm, dll)
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
        arguments += [f"-Wl,-u,_{s}" for s in symbols] + [os.path.relpath(library)]
    return arguments


def symbol_address(map_text, symbol):
    match = re.search(r"^\s+0x([0-9a-f]+)\s+" + re.escape(symbol) + r"$", map_text, re.MULTILINE)
    return int(match.group(1), 16) if match else None


def main(argv=None):
    parser = argparse.ArgumentParser()
    parser.add_argument("--nm", required=True)
    parser.add_argument("--dlltool", required=True)
    parser.add_argument("--entry", required=True, help="the entry function as the link map names it")
    parser.add_argument("--work", required=True, help="folder for the generated libraries and map")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args(argv)
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    try:
        if not command:
            raise LinkError("no link command given")
        os.makedirs(args.work, exist_ok=True)
        output = output_of(command)
        run(command, "the link")
        delayed = delay_arguments(pe_image.read(output), command[0], args.nm, args.dlltool, args.work)
        link_map = os.path.join(args.work, "program.map")
        run([command[0]] + delayed + [f"-Wl,-Map,{link_map}"] + command[1:], "the link with delayed imports")

        image = pe_image.read(output)
        with open(link_map) as f:
            map_text = f.read()
        still = sorted(dll for dll in image.imports() if dll.lower() not in KEPT)
        if still:
            raise LinkError(f"{output} still imports {', '.join(still)} at start-up")
        entry = symbol_address(map_text, args.entry)
        if entry is None or entry - image.image_base != image.entry_point:
            raise LinkError(f"{output} does not start at {args.entry}: link the program entry with -e")
        config = symbol_address(map_text, LOAD_CONFIG_SYMBOL)
        if config is None:
            raise LinkError(f"{output} has no {LOAD_CONFIG_SYMBOL}: link the program entry")
        rva = config - image.image_base
        size = int.from_bytes(image.data[image.offset(rva):image.offset(rva) + 4], "little")
        image.set_directory(pe_image.LOAD_CONFIG_DIRECTORY, rva, size)
        with open(output, "wb") as f:
            f.write(image.data)
    except (LinkError, pe_image.ImageError, OSError) as e:
        print(f"harden_link: error: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Points a PE image's load-configuration directory at its _load_config_used
record (app/LoadConfig.cpp), which the GNU linker of binutils 2.40 leaves
unset. The record's address comes from the link's map file, its size from
the record's own first field.

    pe_load_config.py IMAGE MAP
"""
import re
import struct
import sys

LOAD_CONFIG = 10  # IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG


def main():
    image, map_file = sys.argv[1:3]
    # The map names i686 symbols without their leading underscore.
    found = re.search(r'^\s+0x([0-9a-f]+)\s+_load_config_used\s*$', open(map_file).read(), re.M)
    if not found:
        sys.exit('%s: no _load_config_used in %s' % (sys.argv[0], map_file))
    address = int(found.group(1), 16)
    data = bytearray(open(image, 'rb').read())
    pe = struct.unpack_from('<I', data, 0x3c)[0]
    sections = struct.unpack_from('<H', data, pe + 6)[0]
    optional_size = struct.unpack_from('<H', data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from('<H', data, optional)[0]
    if magic == 0x10b:
        image_base = struct.unpack_from('<I', data, optional + 28)[0]
        directories = optional + 96
    else:
        image_base = struct.unpack_from('<Q', data, optional + 24)[0]
        directories = optional + 112
    rva = address - image_base
    for i in range(sections):
        header = optional + optional_size + 40 * i
        virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from(
            '<IIII', data, header + 8)
        if virtual_address <= rva < virtual_address + min(virtual_size, raw_size):
            size = struct.unpack_from('<I', data, raw_offset + rva - virtual_address)[0]
            break
    else:
        sys.exit('%s: _load_config_used at %#x lies in no section' % (sys.argv[0], address))
    if size not in (0x48, 0x70):
        sys.exit('%s: _load_config_used has size %#x' % (sys.argv[0], size))
    struct.pack_into('<II', data, directories + 8 * LOAD_CONFIG, rva, size)
    with open(image, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()

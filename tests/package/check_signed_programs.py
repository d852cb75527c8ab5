#!/usr/bin/env python3
"""Checks the signatures of the programs in the unpacked release archive.

    check_signed_programs.py FOLDER CER PROGRAM...
        each PROGRAM in FOLDER has a SHA-256 Authenticode signature that osslsigncode accepts
        with CER (in FOLDER, DER) as its only trusted certificate, and a copy of it with one
        byte of its code changed is rejected for its digest
"""
import os
import struct
import subprocess
import sys
import tempfile

PE_OFFSET_FIELD = 0x3C
SECTION_HEADER_SIZE = 40
CODE_SECTION = b".text"

failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def code_section(data):
    """(offset, size) in the file of the code section's raw bytes."""
    (pe,) = struct.unpack_from("<I", data, PE_OFFSET_FIELD)
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    table = pe + 24 + optional_size
    for index in range(sections):
        name, raw_size, raw_offset = struct.unpack_from(
            "<8s8xII", data, table + index * SECTION_HEADER_SIZE)
        if name.rstrip(b"\0") == CODE_SECTION:
            return raw_offset, raw_size
    raise LookupError(CODE_SECTION)


def verify(path, ca_file):
    run = subprocess.run(["osslsigncode", "verify", "-CAfile", ca_file, "-in", path],
                         capture_output=True, text=True)
    lines = run.stdout.splitlines()
    print(f"osslsigncode verify {os.path.basename(path)}: exit {run.returncode}, "
          f"{lines[-1] if lines else run.stderr.strip()}")
    return run.returncode, lines


def check(program, ca_file, work):
    status, lines = verify(program, ca_file)
    name = os.path.basename(program)
    expect(status == 0, f"{name}: osslsigncode rejects its signature")
    digests = [line.split(":", 1)[1].strip() for line in lines
               if line.startswith("Message digest algorithm")]
    expect(digests and all(d == "SHA256" for d in digests),
           f"{name}: digest algorithms {digests}, expected SHA256")

    data = bytearray(open(program, "rb").read())
    offset, size = code_section(data)
    data[offset + size // 2] ^= 0x01
    changed = os.path.join(work, name)
    open(changed, "wb").write(data)
    status, lines = verify(changed, ca_file)
    # Rejected for its digest, not for being unreadable.
    expect(status != 0 and any(line.startswith("Calculated message digest") and
                               "MISMATCH" in line for line in lines),
           f"{name}: a changed code byte does not make the digest wrong")


def main(folder, certificate, *programs):
    with tempfile.TemporaryDirectory() as work:
        ca_file = os.path.join(work, "certificate.pem")
        subprocess.run(["openssl", "x509", "-inform", "DER",
                        "-in", os.path.join(folder, certificate), "-out", ca_file], check=True)
        for program in programs:
            check(os.path.join(folder, program), ca_file, work)
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(programs)} programs checked, {len(failures)} failures")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])

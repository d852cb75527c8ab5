#!/usr/bin/env python3
"""The package's Publisher for certificate subjects a release might have: each subject made into
a PFX with openssl, read back through `sign.sh publisher` as the build reads it.

    publisher_test.py SIGN_SCRIPT
"""
import os
import subprocess
import sys
import tempfile

# (openssl -subj, Publisher); None: refused. openssl lists parts most significant first.
CASES = [
    # An EV certificate: jurisdiction, business category and registration number.
    ("/jurisdictionC=JP/businessCategory=Private Organization/serialNumber=0100-01-123456"
     "/C=JP/ST=Tokyo/L=Chiyoda-ku/O=Vantorel K.K./CN=Vantorel K.K.",
     "CN=Vantorel K.K., O=Vantorel K.K., L=Chiyoda-ku, S=Tokyo, C=JP, "
     "SERIALNUMBER=0100-01-123456, OID.2.5.4.15=Private Organization, "
     "OID.1.3.6.1.4.1.311.60.2.1.3=JP"),
    ("/C=US/ST=Washington/L=Redmond/O=Vantorel, Inc./OU=Shell Tools/CN=Vantorel, Inc.",
     'CN="Vantorel, Inc.", OU=Shell Tools, O="Vantorel, Inc.", L=Redmond, S=Washington, C=US'),
    # Every character that makes Windows quote, a doubled inner quote, spaces at an end.
    ('/O=A\\+B\\=C/OU=#1 <team>; x/CN=The "Best" Maps/L= Padded ',
     'L=" Padded ", CN="The ""Best"" Maps", OU="#1 <team>; x", O="A+B=C"'),
    ("/DC=example/DC=vantorel/emailAddress=dev@vantorel.example/title=Developer/GN=Ann"
     "/SN=Lee/initials=AL/street=1 Main St/postalCode=100-0001/postOfficeBox=12"
     "/telephoneNumber=03 1234/description=Maps/dnQualifier=q1/x121Address=12345"
     "/pseudonym=custom",
     "OID.2.5.4.65=custom, X21Address=12345, dnQualifier=q1, Description=Maps, Phone=03 1234, "
     "POBox=12, PostalCode=100-0001, STREET=1 Main St, I=AL, SN=Lee, G=Ann, T=Developer, "
     "E=dev@vantorel.example, DC=vantorel, DC=example"),
    ("/C=JP/O=ヴァントレル株式会社/CN=ヴァントレル", "CN=ヴァントレル, O=ヴァントレル株式会社, C=JP"),
    # A part of two attributes cannot be written as a Publisher.
    ("/O=Vantorel/CN=Maps+OU=Tools", None),
]


def pfx_with_subject(work, subject):
    key, certificate, pfx = (os.path.join(work, name) for name in ("key", "cert", "p.pfx"))
    subprocess.run(["openssl", "req", "-x509", "-utf8", "-newkey", "ec", "-pkeyopt",
                    "ec_paramgen_curve:P-256", "-nodes", "-days", "1", "-subj", subject,
                    "-keyout", key, "-out", certificate], check=True, capture_output=True)
    subprocess.run(["openssl", "pkcs12", "-export", "-inkey", key, "-in", certificate,
                    "-passout", "pass:", "-out", pfx], check=True, capture_output=True)
    return pfx


def main(sign_script):
    failures = 0
    environment = dict(os.environ)
    environment.pop("QUORIEL_SIGNING_PASSWORD", None)
    with tempfile.TemporaryDirectory() as work:
        for subject, expected in CASES:
            run = subprocess.run(["bash", sign_script, "publisher",
                                  pfx_with_subject(work, subject)],
                                 capture_output=True, text=True, env=environment)
            got = run.stdout.strip() if run.returncode == 0 else None
            if got != expected or (expected is None and not run.stderr.strip()):
                failures += 1
                print(f"FAIL: {subject}\n  expected {expected!r}\n  got      {got!r} "
                      f"{run.stderr.strip()}")
    print(f"{len(CASES)} subjects, {failures} failures")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])

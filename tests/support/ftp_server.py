#!/usr/bin/python3
"""A loopback FTP or FTPS server for the publishing tests; prints its port, then serves.

--voll NAME answers "552" to a STOR of a name containing NAME; --abbruch-nach N
closes the connection once N upload bytes arrived; --abbruch-bei NAME closes it
once at the STOR of a name containing NAME; --abbruch-bei-rnto closes it once,
after the first rename, without an answer; --kein-ueberschreiben refuses RNTO
onto an existing file, as some servers do; --rnto-nein NAME refuses, once, the
RNTO onto NAME while the old NAME stands aside as .NAME.lw-alt; --hoechstens N
refuses more than N connections at once; --protokoll FILE logs each STOR.
"""
import argparse
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer

a = argparse.ArgumentParser()
for name in ("--ordner", "--benutzer", "--passwort"):
    a.add_argument(name, required=True)
a.add_argument("--zert")
a.add_argument("--voll")
a.add_argument("--abbruch-nach", type=int, default=0)
a.add_argument("--abbruch-bei")
a.add_argument("--kein-ueberschreiben", action="store_true")
a.add_argument("--rnto-nein")
a.add_argument("--protokoll")
a.add_argument("--port", type=int, default=0)
a.add_argument("--abbruch-bei-rnto", action="store_true")
a.add_argument("--hoechstens", type=int, default=0)
args = a.parse_args()

zustand = {"empfangen": 0, "abgebrochen": False, "rnto": False, "rnto_nein": args.rnto_nein}


class Daten(DTPHandler):
    def handle_read(self):
        vorher = self.tot_bytes_received
        super().handle_read()
        zustand["empfangen"] += self.tot_bytes_received - vorher
        if (args.abbruch_nach and not zustand["abgebrochen"]
                and zustand["empfangen"] >= args.abbruch_nach):
            zustand["abgebrochen"] = True
            steuerung = self.cmd_channel
            self.close()
            steuerung.close()

    handle_read_event = handle_read  # DTPHandler binds the event to its own handle_read


class TlsDaten(TLS_DTPHandler, Daten):
    # libcurl starts TLS on the data connection before it sends STOR;
    # pyftpdlib would close a data connection that speaks that early.
    def readable(self):
        return True if self._ssl_accepting else super().readable()


class Steuerung(TLS_FTPHandler if args.zert else FTPHandler):
    dtp_handler = TlsDaten if args.zert else Daten
    certfile = args.zert
    tls_control_required = tls_data_required = bool(args.zert)

    def ftp_STOR(self, file, mode="w"):
        if args.voll and args.voll in file:
            self.respond("552 Requested file action aborted: exceeded storage allocation.")
            return
        if args.abbruch_bei and args.abbruch_bei in file and not zustand["abgebrochen"]:
            zustand["abgebrochen"] = True
            self.close()
            return
        return super().ftp_STOR(file, mode)

    def ftp_RNTO(self, path):
        if args.abbruch_bei_rnto and not zustand["rnto"]:
            zustand["rnto"] = True
            quelle, self._rnfr = self._rnfr, None
            self.fs.rename(quelle, path)
            self.close()
            return
        ueber = args.kein_ueberschreiben and os.path.lexists(path)
        name = os.path.basename(path)
        beiseite = os.path.join(os.path.dirname(path), "." + name + ".lw-alt")
        nein = name == zustand["rnto_nein"] and os.path.lexists(beiseite)
        if self._rnfr and (ueber or nein):
            if nein:
                zustand["rnto_nein"] = None
            self._rnfr = None
            self.respond("553 Requested action not taken: file name not allowed.")
            return
        return super().ftp_RNTO(path)

    def on_file_received(self, file):
        if args.protokoll:
            with open(args.protokoll, "a") as p:
                p.write(file + "\n")


Steuerung.authorizer = DummyAuthorizer()
Steuerung.authorizer.add_user(args.benutzer, args.passwort, args.ordner, perm="elradfmwMT")
Steuerung.max_cons_per_ip = args.hoechstens
config_logging(level=logging.ERROR)
server = FTPServer(("127.0.0.1", args.port), Steuerung)
print(server.socket.getsockname()[1], flush=True)
sys.stdout.close()
server.serve_forever()

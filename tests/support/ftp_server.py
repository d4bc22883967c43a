#!/usr/bin/python3
"""A loopback FTP or FTPS server for the publishing tests (Debian's pyftpdlib).

Prints its port on the first line of stdout and serves until killed.
Fault hooks: --voll NAME answers "552" to a STOR of a file whose name contains
NAME; --abbruch-nach N closes the connection, once, when N bytes of uploads
have arrived; --protokoll FILE appends one line per finished STOR.
"""
import argparse
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, TLS_FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer

a = argparse.ArgumentParser()
a.add_argument("--ordner", required=True)
a.add_argument("--benutzer", required=True)
a.add_argument("--passwort", required=True)
a.add_argument("--zert")
a.add_argument("--voll")
a.add_argument("--abbruch-nach", type=int, default=0)
a.add_argument("--protokoll")
args = a.parse_args()

zustand = {"empfangen": 0, "abgebrochen": False}


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


basis = TLS_FTPHandler if args.zert else FTPHandler


class Steuerung(basis):
    dtp_handler = Daten
    if args.zert:
        certfile = args.zert
        tls_control_required = True
        tls_data_required = True

    def ftp_STOR(self, file, mode="w"):
        if args.voll and args.voll in file:
            self.respond("552 Requested file action aborted: exceeded storage allocation.")
            return
        return super().ftp_STOR(file, mode)

    def on_file_received(self, file):
        if args.protokoll:
            with open(args.protokoll, "a") as p:
                p.write(file + "\n")


if args.zert:
    # pyftpdlib's TLS data handler is made from dtp_handler at class creation.
    from pyftpdlib.handlers import TLS_DTPHandler

    class TlsDaten(TLS_DTPHandler, Daten):
        # libcurl starts TLS on the data connection before it sends STOR;
        # pyftpdlib would close a data connection that speaks that early.
        def readable(self):
            return True if self._ssl_accepting else super().readable()

    Steuerung.dtp_handler = TlsDaten

berechtigung = DummyAuthorizer()
berechtigung.add_user(args.benutzer, args.passwort, args.ordner, perm="elradfmwMT")
Steuerung.authorizer = berechtigung
Steuerung.banner = "Testserver"
Steuerung.passive_ports = None
config_logging(level=logging.ERROR)
server = FTPServer(("127.0.0.1", 0), Steuerung)
print(server.socket.getsockname()[1], flush=True)
sys.stdout.close()
server.serve_forever()

"""A mail server on loopback for the tests: every message it takes is kept
as NNN.eml with its envelope in NNN.json; a recipient named in --refuse is
answered "550 5.1.1 Mailbox unavailable". The chosen port goes to --port-file
once the server listens; the server stops when --stop-file appears or after
--lifetime seconds."""
import argparse
import asyncio
import json
import os
import socket
import sys
import time

from aiosmtpd.controller import Controller


class Keeper:
    def __init__(self, folder, refused):
        self.folder = folder
        self.refused = set(a.lower() for a in refused)
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.lower() in self.refused:
            return "550 5.1.1 Mailbox unavailable"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, "%03d" % self.count)
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content or envelope.content)
        with open(base + ".json", "w") as f:
            json.dump({"from": envelope.mail_from, "to": envelope.rcpt_tos}, f)
        return "250 Message accepted"


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--folder", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--stop-file", required=True)
    parser.add_argument("--refuse", action="append", default=[])
    parser.add_argument("--lifetime", type=float, default=600)
    args = parser.parse_args()
    keeper = Keeper(args.folder, args.refuse)
    for attempt in range(20):
        port = free_port()
        controller = Controller(keeper, hostname="127.0.0.1", port=port)
        try:
            controller.start()
            break
        except Exception:
            time.sleep(0.1)
    else:
        sys.exit("no free port")
    with open(args.port_file + ".tmp", "w") as f:
        f.write(str(port))
    os.replace(args.port_file + ".tmp", args.port_file)
    end = time.time() + args.lifetime
    while time.time() < end and not os.path.exists(args.stop_file):
        time.sleep(0.05)
    controller.stop()


if __name__ == "__main__":
    main()

"""Mail servers on 127.0.0.1 for the tests: an SMTP server (aiosmtpd), a scripted POP3 server and
a server that accepts connections and never answers. Reports one JSON object per line on stdout:
first {"event": "ready", ...ports}, then every command and every received message."""
import argparse
import asyncio
import base64
import email
import email.utils
import json
import logging
import socket
import ssl
import sys
import threading
import warnings
from email.header import decode_header, make_header
from email.utils import getaddresses

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult

print_lock = threading.Lock()
warnings.simplefilter("ignore")
logging.getLogger("mail.log").setLevel(logging.CRITICAL)


def report(**fields):
    with print_lock:
        print(json.dumps(fields, ensure_ascii=False), flush=True)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def encrypted(server):
    return server.transport.get_extra_info("ssl_object") is not None


class Handler:
    def __init__(self, refused, pipelining):
        self.refused = refused
        self.pipelining = pipelining

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        if self.pipelining:
            responses.insert(1, "250-PIPELINING")
        report(event="smtp", command="EHLO", tls=encrypted(server), name=hostname)
        return responses

    async def handle_MAIL(self, server, session, envelope, address, options):
        report(event="smtp", command="MAIL", address=address, tls=encrypted(server))
        envelope.mail_from = address
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, options):
        report(event="smtp", command="RCPT", address=address)
        if address in self.refused:
            return "550 no such user"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_QUIT(self, server, session, envelope):
        report(event="smtp", command="QUIT")
        return "221 Bye"

    async def handle_DATA(self, server, session, envelope):
        raw = envelope.original_content
        message = email.message_from_bytes(raw)
        charset = message.get_content_charset() or "ascii"
        report(event="message", sender=envelope.mail_from, recipients=envelope.rcpt_tos,
               subject=str(make_header(decode_header(message["Subject"] or ""))),
               sender_name=str(make_header(decode_header(message["From"] or ""))),
               from_mailboxes=[[str(make_header(decode_header(name))), address]
                               for name, address in getaddresses([message["From"] or ""])],
               body=message.get_payload(decode=True).decode(charset),
               headers=[name for name, _ in message.items()],
               x_mailer=message["X-Mailer"], charset=charset,
               date=message["Date"], message_id=message["Message-ID"],
               date_offset=date_offset(message["Date"]),
               raw=base64.b64encode(raw).decode())
        return "250 Message accepted"


def date_offset(value):
    """The zone of a Date header in minutes east of UTC, None when a strict reader refuses it."""
    try:
        parsed = email.utils.parsedate_to_datetime(value)
    except (TypeError, ValueError):
        return None
    return None if parsed.tzinfo is None else int(parsed.utcoffset().total_seconds() // 60)


def authenticator(expected):
    def check(server, session, envelope, mechanism, auth_data):
        login = (auth_data.login.decode(), auth_data.password.decode())
        report(event="smtp", command="AUTH", mechanism=mechanism, login=list(login))
        return AuthResult(success=login == expected, handled=False)
    return check


async def pop3_session(reader, writer, user, password):
    def send(text):
        writer.write(text.encode() + b"\r\n")
    send("+OK ready")
    while line := await reader.readline():
        command = line.decode().rstrip("\r\n")
        report(event="pop", command=command)
        verb, _, argument = command.partition(" ")
        if verb == "CAPA":
            send("+OK\r\nUSER\r\n.")
        elif verb == "USER":
            send("+OK" if argument == user else "-ERR unknown")
        elif verb == "PASS":
            send("+OK logged in" if argument == password else "-ERR wrong password")
        elif verb == "QUIT":
            send("+OK bye")
            await writer.drain()
            break
        else:
            send("-ERR unknown command")
        await writer.drain()
    writer.close()


async def silent_session(reader, writer):
    report(event="silent", command="connect")
    await reader.read()


async def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--smtp", choices=["plain", "starttls", "tls"], default="plain")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--auth", help="user:password the SMTP server asks for")
    parser.add_argument("--auth-without", action="append", default=[],
                        help="an AUTH mechanism the SMTP server does not offer")
    parser.add_argument("--refuse", action="append", default=[])
    parser.add_argument("--pipelining", action="store_true", help="offer PIPELINING")
    parser.add_argument("--pop", help="user:password of the POP3 server")
    args = parser.parse_args()

    context = None
    if args.cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)
    options = {}
    if args.auth:
        options.update(authenticator=authenticator(tuple(args.auth.split(":", 1))),
                       auth_require_tls=False, auth_required=True,
                       auth_exclude_mechanism=args.auth_without)
    if args.smtp == "starttls":
        options.update(tls_context=context, require_starttls=True)
    smtp_port = free_port()
    controller = Controller(Handler(set(args.refuse), args.pipelining), hostname="127.0.0.1", port=smtp_port,
                            ssl_context=context if args.smtp == "tls" else None, **options)
    controller.start()

    ports = {"smtp": smtp_port}
    silent = await asyncio.start_server(silent_session, "127.0.0.1", 0)
    ports["silent"] = silent.sockets[0].getsockname()[1]
    if args.pop:
        user, password = args.pop.split(":", 1)
        pop = await asyncio.start_server(
            lambda r, w: pop3_session(r, w, user, password), "127.0.0.1", 0)
        ports["pop"] = pop.sockets[0].getsockname()[1]
    report(event="ready", **ports)
    await asyncio.get_running_loop().run_in_executor(None, sys.stdin.read)
    controller.stop()


asyncio.run(main())

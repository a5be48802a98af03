"""A loopback SMTP server for the tests.

Prints its port on the first line of its output, then keeps every message it accepts as N.eml in the
folder it is given, with N.json beside it (envelope and the name the client logged in with).
--auth USER:PASSWORD offers AUTH (PLAIN, LOGIN) without TLS and accepts only that login;
--reject-recipient answers RCPT with 550; --starttls offers STARTTLS with a self-signed certificate
(made with openssl in the folder).
"""
import argparse
import asyncio
import json
import os
import ssl
import subprocess
import logging
import sys

from aiosmtpd.smtp import SMTP, AuthResult


class Handler:
    def __init__(self, folder, reject_recipient):
        self.folder = folder
        self.reject_recipient = reject_recipient
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.reject_recipient:
            return '550 5.1.1 <%s>: Recipient address rejected: User unknown' % address
        envelope.rcpt_tos.append(address)
        return '250 OK'

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        login = session.auth_data.login.decode() if session.authenticated else None
        with open(base + '.json.part', 'w') as info:
            json.dump({'from': envelope.mail_from, 'to': envelope.rcpt_tos, 'login': login}, info)
        with open(base + '.eml', 'wb') as message:
            message.write(envelope.original_content)
        os.rename(base + '.json.part', base + '.json')
        return '250 Message accepted for delivery'


def main():
    # aiosmtpd logs its own deprecations and the handshakes that the tests make fail.
    logging.getLogger('mail.log').setLevel(logging.CRITICAL)
    parser = argparse.ArgumentParser()
    parser.add_argument('folder')
    parser.add_argument('--auth')
    parser.add_argument('--reject-recipient', action='store_true')
    parser.add_argument('--starttls', action='store_true')
    options = parser.parse_args()

    handler = Handler(options.folder, options.reject_recipient)
    authenticator = None
    if options.auth:
        user, password = options.auth.split(':', 1)

        def authenticator(server, session, envelope, mechanism, data):
            accepted = data.login.decode() == user and data.password.decode() == password
            return AuthResult(success=accepted, handled=False, auth_data=data)

    tls_context = None
    if options.starttls:
        key = os.path.join(options.folder, 'key.pem')
        certificate = os.path.join(options.folder, 'certificate.pem')
        subprocess.run(['openssl', 'req', '-x509', '-newkey', 'rsa:2048', '-nodes', '-days', '1',
                        '-subj', '/CN=localhost', '-keyout', key, '-out', certificate],
                       check=True, capture_output=True)
        tls_context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        tls_context.load_cert_chain(certificate, key)

    def factory():
        return SMTP(handler, hostname='localhost', authenticator=authenticator, tls_context=tls_context,
                    auth_require_tls=not options.auth, data_size_limit=64 * 1024 * 1024)

    loop = asyncio.new_event_loop()
    server = loop.run_until_complete(loop.create_server(factory, '127.0.0.1', 0))
    print(server.sockets[0].getsockname()[1], flush=True)
    loop.run_forever()


if __name__ == '__main__':
    sys.exit(main())

"""Runs a command while 127.0.0.1:PORT is held, as another program may hold
it on a user's machine: a second dask scheduler's dashboard holds 8787,
the port that distributed tries first.

    python3 hold_port.py PORT COMMAND...
"""
import socket
import subprocess
import sys

with socket.socket() as held:
    try:
        held.bind(("127.0.0.1", int(sys.argv[1])))
        held.listen()
    except OSError:
        pass  # held already, by another program
    sys.exit(subprocess.call(sys.argv[2:]))
